#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "RunTestSupport.h"
#include "TempFolder.h"
#include "calc/RunComparison.h"
#include "calc/Shard.h"

namespace kadrel {
namespace {

using test::Lines;

TEST(ShardRecordsTest, FromFloorOfKMinusOneTimesNOverTheShardsToFloorOfKTimesNOverTheShards) {
    using Slice = std::pair<std::size_t, std::size_t>;
    constexpr std::size_t most = std::numeric_limits<std::size_t>::max();
    const std::vector<std::tuple<Shard, std::size_t, Slice>> cases = {
        {{1, 1}, 5, {0, 5}}, {{1, 3}, 5, {0, 1}}, {{2, 3}, 5, {1, 3}}, {{3, 3}, 5, {3, 5}}, {{2, 4}, 6, {1, 3}},
        {{4, 7}, 5, {2, 2}}, {{7, 7}, 5, {4, 5}}, {{1, 2}, 0, {0, 0}},
        {{most - 1, most}, most, {most - 2, most - 1}},  // K·n beyond 64 bits
    };
    for (const auto& [shard, records, slice] : cases)
        EXPECT_EQ(ShardRecords(shard, records), slice) << shard.index << "/" << shard.count << " of " << records;
}

// The lines of the whole run's report that belong to set-1 records [first, last) of `names`.
std::string SliceOf(const std::string& whole, const std::vector<std::string>& names, std::size_t first,
                    std::size_t last) {
    const auto ours = [&](const std::string& line) {
        return std::any_of(names.begin() + first, names.begin() + last,
                           [&](const std::string& name) { return line.starts_with(name + "\t"); });
    };
    std::string slice;
    for (const std::string& line : Lines(whole)) {
        if (line == "Best matches:" || ours(line)) slice += line + "\r\n";
    }
    return slice;
}

TEST(ShardRunTest, ASliceOfSetOneGivesItsRecordsOfTheWholeRun) {
    test::TempFolder sets;
    const std::vector<std::string> names = {"a", "b", "c", "d", "e"};
    const std::vector<std::string> sequences = {"ACGTACGTAC", "ACGTACGTAA", "ACGAACGTAC", "TCGTACGTTA", "ACGTACGGAG"};
    for (std::size_t i = 0; i < names.size(); ++i) sets.Write("f/" + names[i] + ".fas", ">x\n" + sequences[i] + "\n");
    // A folder against itself: the same-name pair of every record is skipped.
    const SequenceSet set1 = ReadSequenceSet(1, sets / "f"), set2 = ReadSequenceSet(2, sets / "f");
    RunOptions options{DistanceModel::K2P, ".", "date", 2};
    test::FakeAligner aligner;
    test::MemorySink whole;
    RunComparison(set1, set2, options, aligner, whole, {});
    const auto header = Lines(whole.report);

    struct Case {
        std::size_t begin, end, first, last;  // asked, and the records that must come
    };
    const std::vector<Case> cases = {
        {1, 3, 1, 3}, {4, SIZE_MAX, 4, 5}, {2, 2, 2, 2}, {7, SIZE_MAX, 5, 5}, {0, 5, 0, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.begin) + " to " + std::to_string(c.end));
        options.set1Begin = c.begin;
        options.set1End = c.end;
        std::mutex mutex;
        std::vector<std::string> aligned;
        aligner.beforeAlign = [&](const std::string& name) {
            const std::lock_guard lock(mutex);
            aligned.push_back(name);
        };
        test::MemorySink part;
        RunComparison(set1, set2, options, aligner, part, {});
        EXPECT_EQ(part.report, header[0] + "\r\n" + header[1] + "\r\n" + SliceOf(whole.report, names, c.first, c.last));

        std::vector<std::size_t> finished;
        std::vector<std::string> pairNames;
        std::vector<std::pair<std::size_t, std::size_t>> progress;
        const std::size_t pairs = (c.last - c.first) * (names.size() - 1);
        for (std::size_t i = c.first; i < c.last; ++i) {
            finished.push_back(i);
            for (std::size_t k = 0; k < names.size(); ++k) {
                if (k != i) pairNames.push_back(std::to_string(i) + "_" + std::to_string(k));
            }
        }
        for (std::size_t done = 1; done <= pairs; ++done) progress.emplace_back(done, pairs);
        std::sort(aligned.begin(), aligned.end());
        EXPECT_EQ(part.finished, finished);
        EXPECT_EQ(aligned, pairNames);
        EXPECT_EQ(part.progress, progress);
    }
}

}  // namespace
}  // namespace kadrel
