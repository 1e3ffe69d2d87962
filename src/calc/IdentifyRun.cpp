#include "calc/IdentifyRun.h"

#include <algorithm>

#include "align/AlignerInput.h"
#include "calc/WordBound.h"

namespace kadrel {
namespace {

// The header line of a record text, without its '>' and line end; control characters as spaces,
// as record names have them.
std::string HeaderLine(const std::string& text) {
    if (!text.starts_with('>')) return {};
    std::string line = text.substr(1, text.find_first_of("\r\n") - 1);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return line;
}

std::optional<std::uint64_t> Whole(const Value& value) {
    if (!value || *value < 0) return std::nullopt;
    return static_cast<std::uint64_t>(*value);
}

}  // namespace

std::vector<RecordTaxon> ReadRecordTaxa(const SequenceSet& set, const TaxonomyTable* table) {
    std::vector<RecordTaxon> taxa;
    taxa.reserve(set.count);
    for (std::size_t r = 0; r < set.count; ++r) {
        const SequenceRecord record = LoadRecord(set, r);
        const std::string header = HeaderLine(record.text);
        RecordTaxon taxon;
        taxon.id = set.source == SetSource::Folder ? record.name : RecordId(header);
        const Lineage* given = table ? table->Find(taxon.id) : nullptr;
        taxon.lineage = given ? *given : HeaderLineage(header);
        taxon.bases = CountBases(SequenceResidues(record.text));
        taxa.push_back(std::move(taxon));
    }
    return taxa;
}

IdentificationSink::IdentificationSink(ReportSink& inner, const HitRule& rule, const std::vector<RecordTaxon>& queries,
                                       const std::vector<RecordTaxon>& references, Receiver receiver)
    : PairsOnlySink(inner), rule_(rule), queries_(queries), references_(references), receiver_(std::move(receiver)) {}

void IdentificationSink::RecordBegun(std::size_t index, std::string_view) {
    current_ = QueryResult{};
    current_.index = index;
    current_.query = &queries_.at(index);
    current_.references = &references_;
}

void IdentificationSink::PairDone(std::size_t, std::size_t second, std::string_view, std::string_view,
                                  const PairRow& row) {
    const auto differences = Whole(row.differences), compared = Whole(row.compared);
    if (!differences || !compared || *compared == 0) return;
    const PairEvidence evidence{*differences, *compared, row.shape.firstBases, row.shape.internalGapRuns};
    if (!IsHit(rule_, evidence)) return;
    current_.bases = row.shape.firstBases;
    current_.hits.push_back({second, row});
}

void IdentificationSink::RecordFinished(std::size_t index) {
    if (current_.query == &queries_.at(index)) {
        // A run that chooses its pairs may report them out of reference order.
        std::stable_sort(current_.hits.begin(), current_.hits.end(),
                         [](const HitDetail& a, const HitDetail& b) { return a.reference < b.reference; });
        std::vector<Hit> hits;
        hits.reserve(current_.hits.size());
        for (const HitDetail& hit : current_.hits)
            hits.push_back({hit.reference, Fraction{*Whole(hit.row.differences), *Whole(hit.row.compared)},
                            &references_.at(hit.reference).lineage});
        const QueryFacts facts{&current_.query->lineage, current_.query->bases};
        current_.identification = Identify(rule_, facts, hits);
        receiver_(current_);
    }
    inner_.RecordFinished(index);
}

}  // namespace kadrel
