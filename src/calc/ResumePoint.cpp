#include "calc/ResumePoint.h"

#include <algorithm>
#include <fstream>
#include <string_view>

#include "align/TextFile.h"
#include "calc/ReportHeader.h"
#include "calc/ReportLines.h"
#include "calc/RunDifference.h"
#include "calc/RunFingerprint.h"

namespace kadrel {
namespace {

// How the shard the backup was made by differs from this command's; empty when it is the same.
std::string ShardDifference(const std::optional<ShardTag>& made, const RunOptions& options) {
    const auto shardText = [](std::size_t index, std::size_t count) {
        return std::to_string(index) + "/" + std::to_string(count);
    };
    const std::size_t index = made ? made->index : 0, count = made ? made->count : 0;
    if (index == options.shardIndex && count == options.shardCount) return {};
    if (count == 0) return "made by the whole run, not a shard";
    return "made as shard " + shardText(index, count) + ", not " +
           (options.shardCount == 0 ? std::string("as the whole run") : shardText(options.shardIndex, options.shardCount));
}

}  // namespace

std::string BackupTag(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options) {
    const std::string run = RunFingerprint(set1, set2, options);
    if (options.shardCount != 0) return ShardTagText({options.shardIndex, options.shardCount, run});
    return "[run " + run + "]";
}

bool IsBackupOfRun(const std::filesystem::path& file, const SequenceSet& set1, const SequenceSet& set2,
                   const RunOptions& options) {
    std::ifstream in(file, std::ios::binary);
    std::string banner;
    if (!in || !std::getline(in, banner) || !banner.ends_with('\r')) return false;
    banner.pop_back();
    const std::string tag = BackupTag(set1, set2, options);
    return StartsAsReport(banner) && banner.ends_with(" " + tag);
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
        const auto runAt = banner.rfind(" [run ");
        const std::optional<ShardTag> shard = ReadShardTag(banner);
        if (!shard && (runAt == std::string_view::npos || !banner.ends_with(']') || banner.size() != runAt + 24))
            throw refuse("was written by a Kadrel that did not mark its run, or is not a backup");
        const std::string run = shard ? shard->run : std::string(banner.substr(runAt + 6, 16));
        std::string differs = ShardDifference(shard, options);
        if (run != RunFingerprint(set1, set2, options))
            differs += (differs.empty() ? "" : "; ") + RunDifference(run, set1, set2, options);
        throw refuse("belongs to another run: " + differs);
    }
    ResumePoint point;
    // A shard's report names the shard too; only the backup of a whole run has a tag of its own.
    const std::string_view reportBanner = options.shardCount != 0 ? banner : banner.substr(0, banner.size() - tag.size() - 1);
    point.header = std::string(reportBanner) + "\r\n" + backup.substr(bannerEnd + 2, titlesEnd - bannerEnd);
    if (!point.header.ends_with(ColumnTitleLine(options.model, options.textbook && options.model != DistanceModel::None)))
        throw refuse("holds other column titles than this run's");

    std::vector<std::string> names2;
    for (std::size_t k = 0; k < set2.count; ++k) names2.push_back(RecordName(set2, k));
    const ReportColumns columns = ColumnsOfModel(options.model);
    ReportTextLines lines(std::string_view(backup).substr(titlesEnd + 2));
    std::size_t at = titlesEnd + 2;
    const std::size_t end1 = std::min(options.set1End, set1.count);
    for (std::size_t i = options.set1Begin; i < end1 && at < backup.size(); ++i) {
        const std::string name1 = RecordName(set1, i);
        auto& rows = point.records.emplace_back();
        for (std::size_t k = 0; k < set2.count; ++k) {
            if (SkippedPair(set1, i, set2, k)) continue;
            std::string_view line, end;
            // Rows are written with CR LF, so a row without it was cut short, or is no row of ours.
            if (!lines.Next(line, end) || backup.find("\r\n", at) == std::string::npos)
                throw refuse("ends within a set-1 record's rows");
            ResumePoint::Row row{std::string(line) + "\r\n", k, {}};
            const auto fields = ReportFields(line);
            if (end != "\r\n" || fields.size() < 2 || fields[0] != name1 || fields[1] != names2[k] ||
                !ReadPairRowValues(fields, columns, row.row))
                throw refuse("holds, at byte " + std::to_string(at) + ", a line that is not the row of \"" + name1 +
                             "\" and \"" + names2[k] + "\" this run would write");
            // The denominator of p is not printed; the row's own columns give it.
            if (row.row.length && row.row.gaps)
                row.row.compared = options.textbook ? *row.row.length : *row.row.length - *row.row.gaps;
            rows.push_back(std::move(row));
            at = titlesEnd + 2 + lines.Offset();
        }
    }
    if (at != backup.size()) throw refuse("holds more rows than this run has");
    // A record without a row at the end may be one not reached; it costs nothing to do again.
    while (!point.records.empty() && point.records.back().empty()) point.records.pop_back();
    return point;
}

}  // namespace kadrel
