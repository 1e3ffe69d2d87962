#include "calc/IdentificationTables.h"

#include "calc/TableText.h"
#include "distances/NumberText.h"
#include "distances/Rounding.h"

namespace kadrel {
namespace {

Value Share(std::uint64_t part, std::optional<std::uint64_t> whole, double scale = 1) {
    if (!whole || *whole == 0) return std::nullopt;
    return RoundHalfEven(scale * static_cast<double>(part) / static_cast<double>(*whole), 3);
}

std::string Cell(const Value& value) { return ValueText(value, "."); }

std::string ModelTitle(DistanceModel model) {
    std::string title;
    if (model != DistanceModel::None) title.assign("\t").append(ModelName(model));
    return title;
}

// p, the model's distance, compared and coverage of one hit.
std::string Distances(const HitDetail& hit, std::optional<std::uint64_t> bases, DistanceModel model) {
    std::string text = Cell(hit.row.pDistance);
    if (model != DistanceModel::None) (text += '\t') += Cell(hit.row.modelDistance);
    const auto compared = static_cast<std::uint64_t>(*hit.row.compared);
    return text + '\t' + std::to_string(compared) + '\t' + Cell(Share(compared, bases));
}

}  // namespace

std::string SummaryTitles(DistanceModel model) {
    return "query\tquery_taxon\tp" + ModelTitle(model) +
           "\tcompared\tcoverage\tbest_count\tbest_references\thits\trank\ttaxon\tlineage\toutcome\tflags\n";
}

std::string SummaryLine(const QueryResult& result, DistanceModel model) {
    const Identification& id = result.identification;
    const Lineage& own = result.query->lineage;
    const auto lowest = own.Lowest();
    std::string line = TableName(result.query->id) + '\t' + TableName(lowest ? own.At(*lowest) : "unclassified") + '\t';
    if (id.best.empty()) {
        line += model == DistanceModel::None ? "NA\tNA\tNA" : "NA\tNA\tNA\tNA";
    } else {
        line += Distances(result.hits[id.best.front()], result.bases, model);
    }
    line += '\t' + std::to_string(id.best.size()) + '\t';
    for (std::size_t b = 0; b < id.best.size(); ++b) {
        if (b != 0) line += ';';
        line += TableName((*result.references)[result.hits[id.best[b]].reference].id);
    }
    line += '\t' + std::to_string(result.hits.size()) + '\t';
    if (id.rank) line += std::string(RankName(*id.rank)) + '\t' + TableName(id.taxon) + '\t' + TableName(id.lineage);
    else line += "\t\t";
    return line + '\t' + OutcomeText(id.outcome) + '\t' + id.FlagsText() + '\n';
}

std::string HitTitles(DistanceModel model) {
    return "qseqid\tsseqid\tpident\tlength\tmismatch\tgapopen\tqstart\tqend\tsstart\tsend\tevalue\tbitscore\tp" +
           ModelTitle(model) + "\tcompared\tcoverage\tlineage\n";
}

std::string HitLines(const QueryResult& result, DistanceModel model) {
    std::string lines;
    for (const HitDetail& hit : result.hits) {
        const AlignmentShape& shape = hit.row.shape;
        const RecordTaxon& reference = (*result.references)[hit.reference];
        lines += TableName(result.query->id) + '\t' + TableName(reference.id) + '\t' +
                 Cell(Share(shape.identical, shape.columns, 100)) + '\t' + std::to_string(shape.columns) + '\t' +
                 std::to_string(shape.mismatches) + '\t' + std::to_string(shape.gapOpenings) + '\t' +
                 std::to_string(shape.firstStart) + '\t' + std::to_string(shape.firstEnd) + '\t' +
                 std::to_string(shape.secondStart) + '\t' + std::to_string(shape.secondEnd) + "\t-1\t0\t" +
                 Distances(hit, result.bases, model) + '\t' + TableName(reference.lineage.Text()) + '\n';
    }
    return lines;
}

}  // namespace kadrel
