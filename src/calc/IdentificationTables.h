#pragma once
#include <string>

#include "calc/IdentifyRun.h"
#include "distances/DistanceModel.h"

namespace kadrel {

// The two tables of an identification, for people and for other programs alike: tab-separated,
// LF line ends, a point as decimal separator whatever the locale, "NA" for a value not to be had.

// query, query_taxon, p, the model's name under -m, compared, coverage, best_count,
// best_references, hits, rank, taxon, lineage, outcome, flags; with its line end.
std::string SummaryTitles(DistanceModel model);
// One line a query. The numbers are those of its first best reference; none without a hit.
std::string SummaryLine(const QueryResult& result, DistanceModel model);

// BLAST's tabular columns first (qseqid sseqid pident length mismatch gapopen qstart qend sstart
// send evalue bitscore; evalue -1 and bitscore 0, as tools without them write), then p, the
// model's distance, compared, coverage and the reference's lineage; with its line end.
std::string HitTitles(DistanceModel model);
// One line per hit of the query, in reference order.
std::string HitLines(const QueryResult& result, DistanceModel model);

}  // namespace kadrel
