#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "ScopedVariable.h"
#include "TestFolder.h"
#include "align/ShellX.h"

namespace kadrel {
namespace {

TEST(ShellX, ReturnsTheRealExitStatusUnderTheGivenEnvironment) {
    const test::ScopedVariable probe("KADREL_SHELLX_PROBE", "inherited");
    struct Case {
        std::string script;
        std::vector<std::string> environment;  // added over the inherited one
        int status;
    };
    const std::vector<Case> cases = {
        {"exit 0", {}, 0}, {"exit 7", {}, 7}, {"exit 259", {}, 3}, {"kill -9 $$", {}, 128 + 9},
        {"echo noise; echo more >&2", {}, 0},
        {"test \"$KADREL_SHELLX_PROBE\" = inherited", {}, 0},
        {"test \"$KADREL_SHELLX_PROBE\" = mine", {"KADREL_SHELLX_PROBE=mine"}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ShellX({"/bin/sh", "-c", c.script}, c.environment, {}), c.status) << c.script;
    EXPECT_THROW(ShellX({"/no/such/program"}, {}, {}), std::system_error);
}

bool ProcessEnded(int pid) {
    const std::string stat = test::ReadText("/proc/" + std::to_string(pid) + "/stat");
    return stat.empty() || stat[stat.rfind(')') + 2] == 'Z';  // gone, or ended and not yet collected
}

// The stop must reach the children of the process started too: a child aligner left running
// would hold on to its files and the cores.
TEST(ShellX, AStopKillsTheWholeProcessGroup) {
    test::TestFolder folder;
    const auto pidFile = folder / "sleep.pid";
    std::stop_source stop;
    std::thread stopper([&] {
        for (int i = 0; i < 1000 && test::ReadText(pidFile).empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        stop.request_stop();
    });
    const auto script = "sleep 60 & echo $! >'" + pidFile.string() + "'; wait";
    EXPECT_EQ(ShellX({"/bin/sh", "-c", script}, {}, stop.get_token()), 128 + 9);
    stopper.join();
    const int child = std::stoi(test::ReadText(pidFile));
    bool ended = false;
    for (int i = 0; i < 500 && !(ended = ProcessEnded(child)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!ended) ::kill(child, SIGKILL);  // leave nothing behind for the next tests
    EXPECT_TRUE(ended) << "the child outlived the stop";
}

}  // namespace
}  // namespace kadrel
