#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "SplitRun.h"
#include "StopSignals.h"
#include "TempFolder.h"

namespace lutrane {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using kadrel::test::FilesUnder;
using kadrel::test::TempFolder;

// What happens just before file k is written (k = 5: after the last of the four).
enum class Event { WriteFails, NameTaken, Signal };

// Whatever stops a split, nothing it wrote is left: no file, no temporary file, no folder it made.
TEST(SplitAllOrNothing, AFailureOrAnInterruptLeavesNothingOfTheSplit) {
    struct Case {
        Event event;
        int k;
        int signal;
        std::string error;  // the whole message, OUT standing for the output folder
    };
    const std::vector<Case> cases = {
        {Event::WriteFails, 1, 0, "cannot write OUT/a.fas: File too large; nothing was written"},
        {Event::WriteFails, 3, 0, "cannot write OUT/c.fas: File too large; the 2 files already written were removed"},
        {Event::NameTaken, 2, 0, "OUT/b.fas already exists; it was left as it is; the 1 file already written was removed"},
        {Event::Signal, 1, SIGINT, "interrupted; nothing was written"},
        {Event::Signal, 3, SIGTERM, "interrupted; the 2 files already written were removed"},
        {Event::Signal, 5, SIGHUP, "interrupted; the 4 files already written were removed"},
    };
    ::signal(SIGXFSZ, SIG_IGN);  // an oversized write fails instead of ending the test
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    for (const Case& c : cases) {
        TempFolder temp;
        const fs::path input = temp.Write("in.txt", ">a\nAC\n>b\nGG\n>c\nTT\n>d\nCA\n");
        const fs::path out = temp / "made/out";
        const StopSignals signals;
        int calls = 0;
        const auto beforeFile = [&] {
            if (++calls == c.k) {
                if (c.event == Event::WriteFails) {
                    const rlimit tiny{1, unlimited.rlim_max};
                    ::setrlimit(RLIMIT_FSIZE, &tiny);
                }
                if (c.event == Event::NameTaken) temp.Write("made/out/b.fas", "the user's");
                if (c.event == Event::Signal) ::raise(c.signal);
            }
            return signals.Received() != 0;
        };

        const SplitResult result = SplitFiles({input}, out, beforeFile);
        ::setrlimit(RLIMIT_FSIZE, &unlimited);

        std::string expected = c.error;
        if (expected.find("OUT") != std::string::npos) expected.replace(expected.find("OUT"), 3, out.string());
        EXPECT_EQ(result.error, expected);
        EXPECT_EQ(result.interrupted, c.event == Event::Signal) << c.error;
        EXPECT_EQ(signals.Received(), c.signal) << c.error;
        EXPECT_EQ(result.filesWritten, 0U) << c.error;
        const Files left = FilesUnder(temp.Path());
        if (c.event == Event::NameTaken) {
            EXPECT_EQ(left, (Files{{"in.txt", ">a\nAC\n>b\nGG\n>c\nTT\n>d\nCA\n"}, {"made/out/b.fas", "the user's"}}));
        } else {
            EXPECT_EQ(left.size(), 1U) << c.error;
            EXPECT_FALSE(fs::exists(temp / "made")) << c.error;
        }
    }
}

// An input without a record is refused by name before any folder is made, whatever comes with it.
TEST(SplitAllOrNothing, AnInputWithoutARecordIsAnError) {
    for (const std::string empty : {"", "ACGT\r\nGG\r\n"}) {
        TempFolder temp;
        const fs::path good = temp.Write("good.fas", ">a\nAC\n"), bad = temp.Write("bad.fas", empty);
        const SplitResult result = SplitFiles({good, bad}, temp / "out");
        EXPECT_EQ(result.error, bad.string() + " holds no record (no \">\" in it); nothing was written");
        EXPECT_FALSE(fs::exists(temp / "out"));
    }
}

}  // namespace
}  // namespace lutrane
