#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <system_error>
#include <thread>

#include "TempFolder.h"
#include "align/tcoffee/ShellX.h"
#include "align/tcoffee/WorkFolder.h"
#include "calc/PairsAtOnce.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A process that is gone, or only waits to be reaped, within a second (a kill takes effect
// in its own time).
bool Gone(const std::string& pid) {
    for (int tries = 0; tries < 100; ++tries) {
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string field;
        for (int i = 0; i < 3 && stat >> field; ++i) {
        }
        if (!stat || field == "Z") return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST(ShellX, HowTheProcessEnds) {
    struct Case {
        const char* what;
        std::string script;
        std::chrono::milliseconds limit;
        bool stopFirst = false;
        bool ignoreChildren = false;  // SIGCHLD ignored: the child is reaped unseen
        std::string outcome;
        std::string program = "/bin/sh";
    };
    const Case cases[] = {
        {"ends in time", "exit 3", 5000ms, false, false, "status 3"},
        {"hangs, with a child", "sleep 30 & echo $! >child; sleep 30", 300ms, false, false, "time limit"},
        {"stopped before it starts", "exit 0", 0ms, true, false, "status 137"},
        {"cannot be collected", "exit 0", 0ms, false, true, "not collected"},
        {"cannot be collected, fails", "exit 1", 5000ms, false, true, "not collected"},
        {"no such program", "exit 0", 5000ms, false, false,
         "cannot start kadrel-no-such-program: No such file or directory", "kadrel-no-such-program"},
    };
    for (const Case& c : cases) {
        const test::TempFolder scratch;
        std::stop_source stop;
        if (c.stopFirst) stop.request_stop();
        if (c.ignoreChildren) signal(SIGCHLD, SIG_IGN);
        const std::string script = "cd '" + scratch.Path().string() + "' && : >started; " + c.script;
        const auto start = std::chrono::steady_clock::now();
        std::string outcome;
        try {
            outcome = "status " + std::to_string(ShellX({c.program, "-c", script}, {}, stop.get_token(), c.limit));
        } catch (const TimeLimitExceeded&) {
            outcome = "time limit";
        } catch (const std::system_error& e) {
            // A program that cannot start is named; one that started but was not collected is not.
            const std::string what = e.what();
            outcome = what.rfind("cannot start", 0) == 0 ? what : "not collected";
        }
        signal(SIGCHLD, SIG_DFL);
        EXPECT_EQ(outcome, c.outcome) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 4s) << c.what;
        EXPECT_EQ(fs::exists(scratch / "started"), !c.stopFirst && c.program == "/bin/sh") << c.what;
        if (std::ifstream child(scratch / "child"); child) {
            std::string pid;
            child >> pid;
            EXPECT_TRUE(Gone(pid)) << c.what << ": the child outlives its group";
        }
    }
}

// What a killed run left is removed when a work folder is next made there; nothing else is.
TEST(WorkFolder, TheLeftoversOfRunsThatAreGone) {
    const pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    test::TempFolder root;
    const std::string gone = "kadrel-" + std::to_string(dead) + "-a1B2c3";
    const std::vector<std::string> kept = {"kadrel-" + std::to_string(getppid()) + "-a1B2c3", "kadrel-a1B2c3",
                                           "kadrel-" + std::to_string(dead) + "-a1B2c", "other-" + std::to_string(dead) + "-a1B2c3"};
    root.Write(gone + "/0_0.t_coffee/scratch", "x");
    for (const auto& name : kept) fs::create_directories(root / name);
    root.Write("kadrel-" + std::to_string(dead) + "-a1B2c4", "a file, not a folder");
    {
        const WorkFolder folder(root.Path());
        EXPECT_TRUE(folder.Path().filename().string().starts_with("kadrel-" + std::to_string(getpid()) + "-"));
        EXPECT_FALSE(fs::exists(root / gone));
        for (const auto& name : kept) EXPECT_TRUE(fs::is_directory(root / name)) << name;
        EXPECT_TRUE(fs::is_regular_file(root / ("kadrel-" + std::to_string(dead) + "-a1B2c4")));
    }
}

TEST(PairsAtOnce, TheLongestPairsFitInTheMemoryAvailable) {
    constexpr double GB = 1024.0 * 1024 * 1024;
    const std::vector<std::size_t> barcodes(50, 650), genomes(3, 20000);
    struct Case {
        std::vector<std::size_t> lengths1, lengths2;
        unsigned asked, cores;
        std::optional<double> available;
        unsigned pairs;
        std::string notice;
    };
    const std::vector<Case> cases = {
        {barcodes, barcodes, 0, 2, 20 * GB, 2, ""},
        {barcodes, barcodes, 0, 128, 500 * GB, kMostDefaultPairsAtOnce, ""},
        {barcodes, barcodes, 0, 128, 4 * GB, 7, "aligning 7 pairs at once rather than 16: t_coffee may need up "
                                                 "to 0.5 GB for a pair of the longest records, and 4.0 GB of "
                                                 "memory is available"},
        {barcodes, barcodes, 0, 8, std::nullopt, 8, ""},
        {barcodes, {}, 0, 8, 1 * GB, 8, ""},
        {genomes, genomes, 0, 8, 120 * GB, 2, "aligning 2 pairs at once rather than 8: t_coffee may need up to "
                                                "56.3 GB for a pair of the longest records, and 120.0 GB of memory "
                                                "is available"},
        {genomes, genomes, 0, 8, 20 * GB, 1, "warning: t_coffee may need up to 56.3 GB for a pair of the longest "
                                               "records, more than the 20.0 GB of memory available; aligning one "
                                               "pair at a time"},
        {genomes, genomes, 4, 8, 120 * GB, 4, "warning: -j 4: t_coffee may need up to 56.3 GB for a pair of the "
                                                "longest records, 225.4 GB at once, more than the 120.0 GB of "
                                                "memory available"},
        {barcodes, barcodes, 4, 8, 1 * GB, 4, "warning: -j 4: t_coffee may need up to 0.5 GB for a pair of the "
                                                "longest records, 2.1 GB at once, more than the 1.0 GB of memory "
                                                "available"},
        // One long record on each side: one heavy pair, the others far lighter.
        {{20000, 650, 650}, {20000, 650, 650, 650}, 0, 8, 60 * GB, 2, "aligning 2 pairs at once rather than 8: "
                                                                        "t_coffee may need up to 56.3 GB for a pair "
                                                                        "of the longest records, and 60.0 GB of "
                                                                        "memory is available"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const PairsAtOnce choice = ChooseTCoffeePairsAtOnce(c.lengths1, c.lengths2, c.asked, c.cores, c.available);
        EXPECT_EQ(choice.pairs, c.pairs) << "case " << i;
        EXPECT_EQ(choice.notice, c.notice) << "case " << i;
    }
}

}  // namespace
}  // namespace kadrel
