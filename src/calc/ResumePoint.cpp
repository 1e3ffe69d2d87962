#include "calc/ResumePoint.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "align/TextFile.h"
#include "calc/ReportHeader.h"
#include "calc/RunFingerprint.h"

namespace kadrel {
namespace {

// A row's number as written, with either decimal separator; false when it is none.
bool ReadValue(std::string_view field, Value& value) {
    if (field == "NA") {
        value.reset();
        return true;
    }
    std::string text(field);
    for (char& c : text)
        if (c == ',') c = '.';
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) return false;
    value = number;
    return true;
}

// The fields of a row after its two names, into a PairRow; false when they are not a row's.
bool ReadRow(std::string_view numbers, DistanceModel model, bool textbook, PairRow& row) {
    Value* const columns[] = {&row.length, &row.differences, &row.pDistance, &row.gaps, &row.transitions,
                              &row.transversions, &row.tsTvRatio, &row.modelDistance};
    const std::size_t count = model == DistanceModel::None ? 7 : 8;
    for (std::size_t c = 0; c < count; ++c) {
        const auto tab = numbers.find('\t');
        if ((tab == std::string_view::npos) != (c + 1 == count)) return false;
        if (!ReadValue(numbers.substr(0, tab), *columns[c])) return false;
        numbers.remove_prefix(tab == std::string_view::npos ? numbers.size() : tab + 1);
    }
    // The denominator of p is not printed; the row's own columns give it.
    if (row.length && row.gaps) row.compared = textbook ? *row.length : *row.length - *row.gaps;
    return true;
}

}  // namespace

std::string BackupTag(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options) {
    const std::string run = RunFingerprint(set1, set2, options);
    if (options.shardCount != 0) return ShardTagText({options.shardIndex, options.shardCount, run});
    return "[run " + run + "]";
}

ResumePoint ReadResumePoint(const std::string& backup, const std::string& file, const SequenceSet& set1,
                            const SequenceSet& set2, const RunOptions& options) {
    const auto refuse = [&](const std::string& problem) {
        return ResumeError("the backup " + QuotedPath(file) + " " + problem + "; it was left as it is");
    };
    const auto bannerEnd = backup.find("\r\n");
    const auto titlesEnd = bannerEnd == std::string::npos ? bannerEnd : backup.find("\r\n", bannerEnd + 2);
    if (!StartsAsReport(backup) || titlesEnd == std::string::npos) throw refuse("is not a backup of Kadrel");
    const std::string tag = BackupTag(set1, set2, options);
    const std::string_view banner(backup.data(), bannerEnd);
    if (!banner.ends_with(" " + tag)) {
        if (banner.find(" [run ") == std::string_view::npos && !ReadShardTag(banner))
            throw refuse("was written by a Kadrel that did not mark its run, or is not a backup");
        throw refuse("belongs to another run: other sets or another order, model, formulas, shard, best matches "
                     "or aligner than this command's");
    }
    ResumePoint point;
    // A shard's report names the shard too; only the backup of a whole run has a tag of its own.
    const std::string_view reportBanner = options.shardCount != 0 ? banner : banner.substr(0, banner.size() - tag.size() - 1);
    point.header = std::string(reportBanner) + "\r\n" + backup.substr(bannerEnd + 2, titlesEnd - bannerEnd);
    if (!point.header.ends_with(ColumnTitleLine(options.model, options.textbook && options.model != DistanceModel::None)))
        throw refuse("holds other column titles than this run's");

    std::vector<std::string> names2;
    for (std::size_t k = 0; k < set2.count; ++k) names2.push_back(RecordName(set2, k));
    std::size_t at = titlesEnd + 2;
    const std::size_t end1 = std::min(options.set1End, set1.count);
    for (std::size_t i = options.set1Begin; i < end1 && at < backup.size(); ++i) {
        const std::string name1 = RecordName(set1, i);
        auto& rows = point.records.emplace_back();
        for (std::size_t k = 0; k < set2.count; ++k) {
            if (SkippedPair(set1, i, set2, k)) continue;
            const auto lineEnd = backup.find("\r\n", at);
            const std::string prefix = name1 + "\t" + names2[k] + "\t";
            if (lineEnd == std::string::npos) throw refuse("ends within a set-1 record's rows");
            const std::string_view line(backup.data() + at, lineEnd - at);
            ResumePoint::Row row{std::string(line) + "\r\n", k, {}};
            if (!line.starts_with(prefix) || !ReadRow(line.substr(prefix.size()), options.model, options.textbook, row.row))
                throw refuse("holds, at byte " + std::to_string(at) + ", a line that is not the row of \"" + name1 +
                             "\" and \"" + names2[k] + "\" this run would write");
            rows.push_back(std::move(row));
            at = lineEnd + 2;
        }
    }
    if (at != backup.size()) throw refuse("holds more rows than this run has");
    // A record without a row at the end may be one not reached; it costs nothing to do again.
    while (!point.records.empty() && point.records.back().empty()) point.records.pop_back();
    return point;
}

}  // namespace kadrel
