#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/HitRule.h"
#include "calc/Identification.h"
#include "calc/ReportSink.h"
#include "calc/SequenceSet.h"
#include "calc/Taxonomy.h"
#include "calc/TaxonomyTable.h"
#include "distances/PairRow.h"

namespace kadrel {

// A record as identification tables name it, with its taxonomy.
struct RecordTaxon {
    std::string id;
    Lineage lineage;
    std::uint64_t bases = 0;  // A, C, G, T and U among the residues the aligner reads
};

// Every record of a set: a file set's records named by their header's RecordId, a folder set's by
// their record name; the lineage from `table` when it holds the record (null: no table), else from
// the header. Throws SetError when a folder file cannot be read.
std::vector<RecordTaxon> ReadRecordTaxa(const SequenceSet& set, const TaxonomyTable* table);

// A hit as the tables show it: the reference and its pair's row, shape included.
struct HitDetail {
    std::size_t reference = 0;
    PairRow row;
};

// One query done: what it is, its hits in reference order and what they make of it.
struct QueryResult {
    std::size_t index = 0;  // in the queries' set
    const RecordTaxon* query = nullptr;
    const std::vector<RecordTaxon>* references = nullptr;
    std::vector<HitDetail> hits;
    std::optional<std::uint64_t> bases;  // the query's A, C, G, T and U as its hits' rows count them; none without a hit
    Identification identification;
};

// Takes the pairs of a comparison run (RunComparison, its pairs computed by the published forms)
// and, as each query's pairs are all in, applies the hit rule and hands the query's result to
// `receiver`. The comparison's own report is not kept. Progress and warnings go on to `inner`, and
// so does the end of each query, after the receiver had it.
class IdentificationSink : public PairsOnlySink {
public:
    using Receiver = std::function<void(const QueryResult&)>;
    IdentificationSink(ReportSink& inner, const HitRule& rule, const std::vector<RecordTaxon>& queries,
                       const std::vector<RecordTaxon>& references, Receiver receiver);

    void RecordFinished(std::size_t index) override;
    void RecordBegun(std::size_t index, std::string_view name) override;
    void PairDone(std::size_t first, std::size_t second, std::string_view name1, std::string_view name2,
                  const PairRow& row) override;

private:
    const HitRule& rule_;
    const std::vector<RecordTaxon>& queries_;
    const std::vector<RecordTaxon>& references_;
    Receiver receiver_;
    QueryResult current_;
};

}  // namespace kadrel
