#include "calc/ShardOrder.h"

#include "align/TextFile.h"

namespace kadrel {

void ShardOrder::Check(const std::optional<ShardTag>& tag, const std::filesystem::path& file) {
    const auto fail = [&](const std::string& problem) { return MergeError(QuotedPath(file) + " " + problem); };
    if (!firstFile_) {
        firstFile_ = file;
        firstTag_ = tag;
    }
    const std::string first = QuotedPath(*firstFile_);
    if (tag.has_value() != firstTag_.has_value())
        throw fail(tag ? "is a shard, " + first + " is not: they are not of one run"
                       : "is not a shard report, " + first + " is");
    if (!tag) return;
    const std::string shard = "shard " + std::to_string(tag->index) + "/" + std::to_string(tag->count);
    if (tag->run == firstTag_->run && tag->count != firstTag_->count)
        throw fail("is " + shard + " and " + first + " one of " + std::to_string(firstTag_->count) +
                   " shards: give the shards of one --shard split");
    if (tag->run != firstTag_->run)
        throw fail("is " + shard + " of another run than " + first + " (" + otherRun_ + ")");
    if (tag->index == lastIndex_) throw fail("is " + shard + " again");
    if (tag->index != lastIndex_ + 1)
        throw fail("is " + shard + " where shard " + std::to_string(lastIndex_ + 1) + "/" + std::to_string(tag->count) +
                   (tag->index > lastIndex_ ? " comes next: that shard is missing" : " comes next: give the shards in order"));
    lastIndex_ = tag->index;
}

void ShardOrder::CheckComplete() const {
    if (firstTag_ && lastIndex_ != firstTag_->count)
        throw MergeError("shard " + std::to_string(lastIndex_ + 1) + "/" + std::to_string(firstTag_->count) +
                         " is missing: the " + files_ + " end at shard " + std::to_string(lastIndex_) + "/" +
                         std::to_string(firstTag_->count));
}

}  // namespace kadrel
