#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "align/ShellX.h"

namespace kadrel {
namespace {

TEST(ShellX, ReturnsTheRealExitStatus) {
    struct Case {
        std::string script;
        int status;
    };
    const std::vector<Case> cases = {
        {"exit 0", 0}, {"exit 7", 7}, {"exit 259", 3}, {"kill -9 $$", 128 + 9}, {"echo noise; echo more >&2", 0}};
    for (const auto& c : cases) EXPECT_EQ(ShellX({"/bin/sh", "-c", c.script}, {}, {}), c.status) << c.script;
}

TEST(ShellX, AddsEnvironmentEntriesOverTheInheritedOnes) {
    setenv("KADREL_SHELLX_PROBE", "inherited", 1);
    EXPECT_EQ(ShellX({"/bin/sh", "-c", "test \"$KADREL_SHELLX_PROBE\" = inherited"}, {}, {}), 0);
    EXPECT_EQ(ShellX({"/bin/sh", "-c", "test \"$KADREL_SHELLX_PROBE\" = mine"}, {"KADREL_SHELLX_PROBE=mine"}, {}), 0);
    unsetenv("KADREL_SHELLX_PROBE");
}

TEST(ShellX, AProgramThatCannotStartIsAnError) {
    EXPECT_THROW(ShellX({"/no/such/program"}, {}, {}), std::system_error);
}

// The stop must reach the grandchild too: the shell waits for its sleep, so only killing the
// whole process group ends the call.
TEST(ShellX, AStopKillsTheWholeProcessGroup) {
    std::stop_source stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop.request_stop();
    });
    const auto start = std::chrono::steady_clock::now();
    const int status = ShellX({"/bin/sh", "-c", "sleep 60; exit 0"}, {}, stop.get_token());
    stopper.join();
    EXPECT_EQ(status, 128 + 9);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

}  // namespace
}  // namespace kadrel
