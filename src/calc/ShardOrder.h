#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "calc/ReportHeader.h"

namespace kadrel {

// Shards that cannot be joined; the message names the file and the problem.
class MergeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The shards given to a join, one by one: every shard of one run, each once and in order. Files
// without a tag (a whole run, or a shard of an older Kadrel) cannot be checked, and are not mixed
// with tagged ones.
class ShardOrder {
public:
    // `files` names what is joined ("reports"), `otherRun` what a shard of another run differs in
    // ("other sets, model"), for the messages.
    ShardOrder(std::string files, std::string otherRun) : files_(std::move(files)), otherRun_(std::move(otherRun)) {}
    // Throws MergeError when `file`, of `tag`, is of another run, repeated or out of order.
    void Check(const std::optional<ShardTag>& tag, const std::filesystem::path& file);
    // Throws MergeError when the last shard given is not the run's last.
    void CheckComplete() const;

private:
    std::string files_, otherRun_;
    std::optional<std::filesystem::path> firstFile_;
    std::optional<ShardTag> firstTag_;
    std::size_t lastIndex_ = 0;
};

}  // namespace kadrel
