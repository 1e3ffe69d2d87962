#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <optional>
#include <vector>

#include "calc/ReportHeader.h"
#include "calc/ShardOrder.h"

namespace kadrel {

struct MergeSummary {
    std::size_t pairs = 0;        // rows
    std::size_t pairsWithNA = 0;  // rows holding NA
};

// Joins the reports of shards, given in shard order, into the report of the whole run: the first
// report's banner and column titles, every report's rows, "Best matches:", every report's
// best-match lines; CR LF line ends (LF alone is read too). The reports are streamed, never held
// whole.
class ReportMerge {
public:
    // Checks every report, so that nothing need be written before the merge is known to be
    // sound: one that is not a Kadrel report, whose column titles differ from the first one's,
    // that ends before its "Best matches:" line or within a line, or whose run was stopped, throws
    // MergeError; so do shards of another run, and shards missing, repeated or out of order.
    explicit ReportMerge(std::vector<std::filesystem::path> reports);
    const MergeSummary& Summary() const { return summary_; }
    // Hands the merged report to `write`, a line or two at a time. Throws MergeError when a
    // report can no longer be read.
    using Writer = std::function<void(std::string_view)>;
    void Write(const Writer& write) const;

private:
    struct Report {
        std::filesystem::path file;
        std::string banner, titles;
        std::streamoff rows = 0, bestMatches = 0;  // where the rows and the best-match lines begin
    };
    std::vector<Report> reports_;
    MergeSummary summary_;
    ShardOrder order_{"reports", "other sets, model, formulas, best matches or aligner"};
};

}  // namespace kadrel
