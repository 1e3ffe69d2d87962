#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "align/AlignerInput.h"
#include "calc/RunComparison.h"

namespace kadrel {
namespace {

using test::ReadText;
using test::TempFolder;

// Aligns in process: the residues as they are, the shorter padded with gaps. A first sequence
// holding FAIL gives an unusable pair.
struct FakeAligner : Aligner {
    AlignedPair Align(std::string_view first, std::string_view second, std::string_view pairName,
                      std::stop_token stop) override {
        if (beforeAlign) beforeAlign(std::string(pairName));
        AlignedPair pair;
        pair.first = SequenceResidues(first);
        pair.second = SequenceResidues(second);
        if (stop.stop_requested() || pair.first.find("FAIL") != std::string::npos) return pair;
        const auto length = std::max(pair.first.size(), pair.second.size());
        pair.first.resize(length, '-');
        pair.second.resize(length, '-');
        pair.length = static_cast<double>(length);
        pair.usable = true;
        return pair;
    }
    std::function<void(const std::string&)> beforeAlign;  // runs on the aligning thread
};

// Keeps all a run sends: every finished set-1 record as "index:report lines at that moment",
// progress as "done/total". Every call must come on the run's own thread.
struct MemorySink : ReportSink {
    void Append(std::string_view text) override {
        OnRunThread();
        report += text;
    }
    void RecordFinished(std::size_t index) override {
        OnRunThread();
        finished += std::to_string(index) + ":" + std::to_string(std::ranges::count(report, '\n')) + " ";
    }
    void Progress(std::size_t done, std::size_t total) override {
        OnRunThread();
        progress += std::to_string(done) + "/" + std::to_string(total) + " ";
    }
    void Warning(std::string_view message) override {
        OnRunThread();
        warnings += std::string(message) + "\n";
    }
    void OnRunThread() const { EXPECT_EQ(std::this_thread::get_id(), runThread); }

    std::thread::id runThread = std::this_thread::get_id();
    std::string report, finished, progress, warnings;
};

// The lines of a report, without their CR LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    return lines;
}

// A folder, two files, an empty folder, a file without any record.
class RunComparisonTest : public ::testing::Test {
protected:
    void SetUp() override {
        sets.Write("f1/a.fas", ">x\nACGTACGTAC\n");
        sets.Write("f1/b.fas", ">x\nACGTACGTAA\n");
        sets.Write("f1/c.fas", ">x\nACGTACGTTT\n");
        sets.Write("m1.fas", ">m one\r\nACGTACGTAC\r\n>m two\r\nACGTACCTAC\r\n");
        sets.Write("m2.fas", ">n1\nACGTACGTAC\n>n2\nACGTATGTAC\n>n3\nTCGTACGTAC\n");
        std::filesystem::create_directory(sets / "empty");
        sets.Write("norecord.fas", "ACGT\n");
    }

    RunSummary Run(const std::string& set1, const std::string& set2, MemorySink& sink, unsigned window = 1,
                   DistanceModel model = DistanceModel::None, std::stop_token stop = {}) {
        const RunOptions options{model, ".", "06.12.26 20:30", window};
        return RunComparison(ReadSequenceSet(1, sets / set1), ReadSequenceSet(2, sets / set2), options, aligner,
                             sink, stop);
    }

    TempFolder sets;
    FakeAligner aligner;
};

TEST_F(RunComparisonTest, RowsAndBestMatchesAfterTheHeader) {
    const struct {
        const char *set1, *set2;
        DistanceModel model;
        std::string afterHeader, finished, progress;  // progress: a row at a time, skipped pairs not counted
    } cases[] = {
        {"m1.fas", "m1.fas", DistanceModel::JC,
         "m one\tm one\t10\t0\t0\t0\t0\t0\t0\t0\r\nm one\tm two\t10\t1\t0.1\t0\t0\t1\t0\t0.107\r\n"
         "m two\tm one\t10\t1\t0.1\t0\t0\t1\t0\t0.107\r\nm two\tm two\t10\t0\t0\t0\t0\t0\t0\t0\r\n"
         "Best matches:\r\nm one\tm one\t0\r\nm two\tm two\t0\r\n",
         "0:4 1:6 ", "1/4 2/4 3/4 4/4 "},
        {"empty", "m2.fas", DistanceModel::None, "Best matches:\r\n", "", ""},
        {"norecord.fas", "f1", DistanceModel::None, "Best matches:\r\n", "", ""},
        {"m1.fas", "empty", DistanceModel::None, "Best matches:\r\nm one\t\tNA\r\nm two\t\tNA\r\n", "0:2 1:2 ", ""},
        {"f1", "norecord.fas", DistanceModel::None, "Best matches:\r\na\t\tNA\r\nb\t\tNA\r\nc\t\tNA\r\n", "0:2 1:2 2:2 ",
         ""},
        // Between two folder sets, a file is not compared with the file of the same name.
        {"f1", "f1", DistanceModel::None,
         "a\tb\t10\t1\t0.1\t0\t0\t1\t0\r\na\tc\t10\t2\t0.2\t0\t1\t1\t1\r\nb\ta\t10\t1\t0.1\t0\t0\t1\t0\r\n"
         "b\tc\t10\t2\t0.2\t0\t0\t2\t0\r\nc\ta\t10\t2\t0.2\t0\t1\t1\t1\r\nc\tb\t10\t2\t0.2\t0\t0\t2\t0\r\n"
         "Best matches:\r\na\tb\t0.1\r\nb\ta\t0.1\r\nc\ta\t0.2\r\n",
         "0:4 1:6 2:8 ", "1/6 2/6 3/6 4/6 5/6 6/6 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.set1) + " " + c.set2);
        MemorySink sink;
        const RunSummary summary = Run(c.set1, c.set2, sink, 1, c.model);
        const auto header = Lines(sink.report);
        ASSERT_GE(header.size(), 2u);
        EXPECT_EQ(header[0], "Comparisons by Orvo   06.12.26 20:30     Kadrel " KADREL_VERSION);
        EXPECT_EQ(sink.report.substr(header[0].size() + header[1].size() + 4), c.afterHeader);
        EXPECT_EQ(sink.finished, c.finished);
        EXPECT_EQ(summary.StatusText(), "done");
        EXPECT_EQ(sink.progress, c.progress);
    }
}

TEST_F(RunComparisonTest, ConcurrentPairsGiveTheSequentialReport) {
    std::string many;
    for (int r = 0; r < 6; ++r) many += ReadText(sets / "m2.fas") + ReadText(sets / "m1.fas");
    sets.Write("many1.fas", many);
    sets.Write("many2/x.fas", ">x\nACGTTCGTAC\n");
    sets.Write("many2/y.fas", ">y\nACFAILGTAC\n");
    sets.Write("many2/z.fas", ">z\nAGGTACGTAC\n");
    MemorySink sequential;
    const RunSummary one = Run("many1.fas", "many2", sequential, 1, DistanceModel::K2P);

    // Later pairs finish first: results arrive out of order.
    aligner.beforeAlign = [](const std::string& name) {
        std::this_thread::sleep_for(std::chrono::milliseconds(name.back() == '0' ? 6 : 1));
    };
    MemorySink concurrent;
    const RunSummary four = Run("many1.fas", "many2", concurrent, 4, DistanceModel::K2P);

    EXPECT_EQ(concurrent.report, sequential.report);
    EXPECT_EQ(concurrent.finished, sequential.finished);
    EXPECT_EQ(concurrent.progress, sequential.progress);
    EXPECT_EQ(concurrent.warnings, sequential.warnings);
    EXPECT_EQ(four.StatusText(), one.StatusText());
}

// -j N: N pairs are in the aligner at the same time (each waits, for a while, for the others).
TEST_F(RunComparisonTest, AsManyPairsAtOnceAsAsked) {
    for (unsigned window : {1u, 3u}) {
        std::mutex mutex;
        std::condition_variable arrived;
        unsigned inside = 0, most = 0;
        bool gaveUp = false;
        aligner.beforeAlign = [&](const std::string&) {
            std::unique_lock lock(mutex);
            most = std::max(most, ++inside);
            arrived.notify_all();
            const auto enough = [&] { return gaveUp || most >= window; };
            if (!arrived.wait_for(lock, std::chrono::seconds(2), enough)) gaveUp = true;
            --inside;
        };
        MemorySink sink;
        Run("m2.fas", "f1", sink, window);
        EXPECT_EQ(most, window);
    }
}

TEST_F(RunComparisonTest, AStopKeepsTheRowsDoneBeforeIt) {
    MemorySink full;
    Run("m2.fas", "f1", full);
    const auto fullLines = Lines(full.report);

    for (unsigned window : {1u, 3u}) {
        std::stop_source stop;
        std::size_t callsAfterStop = 0;
        aligner.beforeAlign = [&](const std::string& name) {
            if (stop.stop_requested()) ++callsAfterStop;
            if (name == "1_1") stop.request_stop();
        };
        MemorySink sink;
        const RunSummary summary = Run("m2.fas", "f1", sink, window, DistanceModel::None, stop.get_token());
        EXPECT_EQ(summary.StatusText(), "stopped");
        const auto lines = Lines(sink.report);
        const std::size_t rows = summary.pairsCompared;
        // One at a time, the pairs before 1_1 are done and no later pair reaches the aligner;
        // concurrently, the stop may catch some of them in flight. Either way the rows are the
        // full run's first rows.
        EXPECT_TRUE(window == 1 ? rows == 4 && callsAfterStop == 0 : rows <= 4) << rows << " " << callsAfterStop;
        ASSERT_GE(lines.size(), 2 + rows + 1);
        for (std::size_t r = 0; r < 2 + rows; ++r) EXPECT_EQ(lines[r], fullLines[r]);
        EXPECT_EQ(lines[2 + rows], "Best matches:");
        EXPECT_EQ(lines.size(), 2 + rows + 1 + (rows == 0 ? 0 : rows <= 3 ? 1 : 2) + 1);
        EXPECT_EQ(lines.back(), "Stopped before the end: " + std::to_string(rows) + " of 9 pairs compared");
        EXPECT_EQ(sink.finished, rows >= 3 ? "0:5 " : "");
    }
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
    TempFolder sets;
    const std::vector<std::string> names = {"a", "b", "c", "d", "e"};
    const std::vector<std::string> sequences = {"ACGTACGTAC", "ACGTACGTAA", "ACGAACGTAC", "TCGTACGTTA", "ACGTACGGAG"};
    for (std::size_t i = 0; i < names.size(); ++i) sets.Write("f/" + names[i] + ".fas", ">x\n" + sequences[i] + "\n");
    // A folder against itself: the same-name pair of every record is skipped.
    const SequenceSet set1 = ReadSequenceSet(1, sets / "f"), set2 = ReadSequenceSet(2, sets / "f");
    RunOptions options{DistanceModel::K2P, ".", "date", 2};
    FakeAligner aligner;
    MemorySink whole;
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
        MemorySink part;
        RunComparison(set1, set2, options, aligner, part, {});
        EXPECT_EQ(part.report, header[0] + "\r\n" + header[1] + "\r\n" + SliceOf(whole.report, names, c.first, c.last));

        std::string finished, progress;
        std::vector<std::string> pairNames;
        const std::size_t pairs = (c.last - c.first) * (names.size() - 1);
        for (std::size_t i = c.first; i < c.last; ++i) {
            finished += std::to_string(i) + ":" + std::to_string(2 + (i + 1 - c.first) * (names.size() - 1)) + " ";
            for (std::size_t k = 0; k < names.size(); ++k) {
                if (k != i) pairNames.push_back(std::to_string(i) + "_" + std::to_string(k));
            }
        }
        for (std::size_t done = 1; done <= pairs; ++done) progress += std::to_string(done) + "/" + std::to_string(pairs) + " ";
        std::sort(aligned.begin(), aligned.end());
        EXPECT_EQ(part.finished, finished);
        EXPECT_EQ(aligned, pairNames);
        EXPECT_EQ(part.progress, progress);
    }
}


// Records of repeated sequences, as real reference sets hold them: the same bytes under other
// names, the same split over other lines, lower case (other bytes), a failing and a baseless one.
TEST(ReuseRunTest, PairsOfSequencesSeenBeforeGiveTheReportOfAlignedOnes) {
    TempFolder sets;
    const std::string a = "ACGTACGTACGGT", b = "ACGTTCGTACG";
    sets.Write("q.fas", ">q1\n" + a + "\n>q2\n" + b + "\n>q3\nACGTAC\nGTACGGT\n>q4\nacgtacgtacggt\n>q5\n" + a +
                            "\n>q6\nACFAILGT\n>q7\nACFAILGT\n>q8\n\n");
    sets.Write("r.fas", ">r1\n" + b + "\n>r2\n" + a + "\n>r3\n" + b + "\n>r4\nNNNNN\n>r5\nNN NNN\n");
    sets.Write("f/q1.fas", ">x\n" + a + "\n");
    sets.Write("f/q2.fas", ">y\n" + a + "\n");
    sets.Write("f/r1.fas", ">z\n" + b + "\n");
    struct Case {
        std::string set1, set2;
        unsigned jobs, best;
        std::size_t begin, end, aligned;  // aligned: pairs of distinct sequences, with the default store
    };
    const std::vector<Case> cases = {
        // Four distinct sequences that can be aligned in q.fas (q8 has none), two in r.fas (one
        // with no base at all fails before the aligner).
        {"q.fas", "r.fas", 1, 1, 0, SIZE_MAX, 4 * 2},
        {"q.fas", "r.fas", 2, 3, 0, SIZE_MAX, 4 * 2},
        {"r.fas", "q.fas", 2, 1, 0, SIZE_MAX, 2 * 4},
        {"q.fas", "r.fas", 2, 2, 2, 5, 2 * 2},
        {"f", "f", 2, 1, 0, SIZE_MAX, 3},  // the same-name pairs skipped: (a, a), (a, b), (b, a)
    };
    FakeAligner aligner;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set1 + " " + c.set2 + " -j " + std::to_string(c.jobs));
        const SequenceSet set1 = ReadSequenceSet(1, sets / c.set1), set2 = ReadSequenceSet(2, sets / c.set2);
        RunOptions options{DistanceModel::K2P, ".", "date", c.jobs};
        options.bestCount = c.best;
        options.bestTies = true;
        options.set1Begin = c.begin;
        options.set1End = c.end;
        std::vector<MemorySink> sinks(3);
        std::vector<RunSummary> summaries;
        for (std::size_t limit : {std::size_t{0}, kDefaultReuseLimit, std::size_t{2}}) {
            std::atomic<std::size_t> calls = 0;
            aligner.beforeAlign = [&](const std::string&) { ++calls; };
            options.reuseLimit = limit;
            summaries.push_back(RunComparison(set1, set2, options, aligner, sinks[summaries.size()], {}));
            EXPECT_EQ(calls, summaries.back().pairsAligned);
        }
        const auto all = [&](std::size_t run) {
            const MemorySink& sink = sinks[run];
            return sink.report + sink.warnings + sink.finished + sink.progress + std::to_string(summaries[run].pairsFailed) +
                   " " + std::to_string(summaries[run].pairsAligned + summaries[run].pairsReused);
        };
        for (std::size_t run = 1; run < 3; ++run) EXPECT_EQ(all(run), all(0));
        EXPECT_EQ(summaries[0].pairsReused, 0u);
        EXPECT_EQ(summaries[1].pairsAligned, c.aligned);
    }
}

TEST(ReuseStoreTest, TheResultUsedLongestAgoLeavesFirst) {
    ReuseStore<int> store(2);
    store.Keep(1, std::make_shared<int>(10));
    store.Keep(2, std::make_shared<int>(20));
    const auto kept = store.Find(2);
    ASSERT_NE(store.Find(1), nullptr);  // 2 is now the oldest
    store.Keep(3, std::make_shared<int>(30));
    EXPECT_EQ(*store.Find(1), 10);
    EXPECT_EQ(store.Find(2), nullptr);
    EXPECT_EQ(*kept, 20);  // still whole for a pair already given it
    EXPECT_EQ(*store.Find(3), 30);
    ReuseStore<int> none(0);
    none.Keep(1, std::make_shared<int>(1));
    EXPECT_EQ(none.Find(1), nullptr);
    SequenceIds ids;
    EXPECT_EQ(ids.IdOf(">a\nAC GT\r\nA\n"), ids.IdOf(">b x\nACGTA"));
    EXPECT_NE(ids.IdOf(">a\nACGTA\n"), ids.IdOf(">a\nacgta\n"));
}

}  // namespace
}  // namespace kadrel
