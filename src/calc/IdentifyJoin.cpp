#include "calc/IdentifyJoin.h"

#include <fstream>

#include "align/TextFile.h"
#include "calc/ReportHeader.h"
#include "calc/Shard.h"

namespace kadrel {
namespace {

// The bytes of `file` from `from` to its end.
void CopyFrom(const std::filesystem::path& file, std::uint64_t from, const IdentifyJoin::Writer& write) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::string block(1 << 16, '\0');
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        if (in.gcount() > 0) write(std::string_view(block.data(), static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad() || !in.eof()) throw MergeError("reading " + QuotedPath(file) + " failed");
}

}  // namespace

IdentifyJoin::IdentifyJoin(std::vector<std::filesystem::path> summaries, std::vector<std::filesystem::path> hits,
                           const IdentifyTablesShape& whole, std::string_view rule, const std::string& run)
    : summaries_(std::move(summaries)), hitsFiles_(std::move(hits)) {
    ShardOrder order("summaries", "other sets, taxonomy, rule, aligner or model");
    for (std::size_t s = 0; s < summaries_.size(); ++s) {
        const std::filesystem::path& file = summaries_[s];
        const auto fail = [&](const std::string& problem) {
            std::string text = QuotedPath(file);  // appended, as "+" trips GCC 12's -Wrestrict here
            return MergeError(text.append(1, ' ').append(problem));
        };
        std::string comment;
        try {
            comment = FirstLine(file);
        } catch (const IdentifyFilesError& e) {
            throw MergeError(e.what());
        }
        const auto tag = ReadShardTag(comment);
        if (!comment.starts_with("# ") || !tag)
            throw fail("is not the summary of a 'kadrel identify --shard' run (its first line ends in no \"[shard K/N "
                       "of run ...]\")");
        order.Check(tag, file);
        IdentifyTablesShape shape = whole;
        shape.comment = IdentifyCommentLine(rule, ShardTagText({tag->index, tag->count, run}));
        shape.comment.pop_back();
        const auto [first, last] = ShardRecords({tag->index, tag->count}, whole.queries.size());
        shape.queries.assign(whole.queries.begin() + static_cast<std::ptrdiff_t>(first),
                             whole.queries.begin() + static_cast<std::ptrdiff_t>(last));
        IdentifyTablesRead read;
        try {
            read = ReadIdentifyTables(file, hitsFiles_.empty() ? std::filesystem::path() : hitsFiles_[s], shape);
        } catch (const IdentifyFilesError& e) {
            throw MergeError(e.what());
        }
        if (read.stopped)
            throw fail("was stopped before the end (its last line says so); run that shard again to its end, or go on "
                       "with --resume");
        if (read.queries != shape.queries.size() || !read.whole)
            throw fail("is incomplete: it holds " + std::to_string(read.queries) + " of the shard's " +
                       std::to_string(shape.queries.size()) +
                       " queries whole (was its run killed?); go on with --resume, then join");
        // The headers were checked to be these very lines.
        summaryStarts_.push_back(shape.comment.size() + 1 + shape.summaryTitles.size());
        hitsStarts_.push_back(shape.comment.size() + 1 + shape.hitTitles.size());
        queries_ += read.queries;
        hits_ += read.hits;
    }
    order.CheckComplete();
}

void IdentifyJoin::Write(const Writer& summary, const Writer& hits) const {
    for (std::size_t s = 0; s < summaries_.size(); ++s) {
        CopyFrom(summaries_[s], summaryStarts_[s], summary);
        if (!hitsFiles_.empty()) CopyFrom(hitsFiles_[s], hitsStarts_[s], hits);
    }
}

}  // namespace kadrel
