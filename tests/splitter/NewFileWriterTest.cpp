#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

#include "NewFileWriter.h"
#include "TempFolder.h"

namespace lutrane {
namespace {

namespace fs = std::filesystem;

// The temporary names are numbered per process from 0, so the check runs in a process of its
// own (a re-run of this binary), where it can take exactly the first hundred of them.
TEST(NewFileWriterDeathTest, GivesUpOnceAHundredTemporaryNamesAreTaken) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    kadrel::test::TempFolder folder;
    const fs::path target = folder.Path() / "record.fas";
    const auto takeNamesAndWrite = [&](int taken) {
        for (int k = 0; k < taken; ++k)
            std::ofstream(folder.Path() / (".lutrane-" + std::to_string(::getpid()) + "-" + std::to_string(k) + ".tmp"));
        const std::string problem = WriteNewFile(target, ">r\nACGT\n");
        std::fprintf(stderr, "%s|%s", problem.c_str(), fs::exists(target) ? "written" : "absent");
        fs::remove_all(folder.Path());  // the child ends without running destructors
        std::_Exit(0);
    };
    EXPECT_EXIT(takeNamesAndWrite(100), ::testing::ExitedWithCode(0),
                "cannot write .*record.fas: no free temporary name beside it\\|absent");
    // One name fewer taken, the hundredth try finds a free one.
    EXPECT_EXIT(takeNamesAndWrite(99), ::testing::ExitedWithCode(0), "\\|written");
}

}  // namespace
}  // namespace lutrane
