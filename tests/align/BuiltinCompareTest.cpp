#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace kadrel {
namespace {

using test::ReadText;
using test::TempFolder;

struct Outcome {
    int status = -1;
    std::string out, err;
};

// Barcode-like records: variants of one random sequence with substitutions, a deletion, ragged
// ends, lower case and an N, so that both engines and the edge rule have work.
std::vector<std::string> Variants(int count, std::uint32_t seed) {
    std::uint32_t state = 12345;
    const auto next = [&state] { return ((state = state * 1103515245u + 12345u) >> 16) & 0x7fff; };
    std::string ancestor;
    for (int i = 0; i < 300; ++i) ancestor += "ACGT"[next() % 4];
    state = seed;
    std::vector<std::string> records;
    for (int r = 0; r < count; ++r) {
        std::string s = ancestor;
        const unsigned changes = 3 + 20 * static_cast<unsigned>(r);
        for (unsigned k = 0; k < changes; ++k) s[next() % s.size()] = "ACGT"[next() % 4];
        if (r % 2 == 1) s.erase(100 + next() % 100, 1 + next() % 3);
        s = s.substr(next() % 8, s.size() - 8);
        if (r == 2) s[50] = 'N';
        if (r == 3) for (char& c : s) c = static_cast<char>(c - 'A' + 'a');
        records.push_back(s.substr(0, 150) + "\n" + s.substr(150) + "\n");
    }
    return records;
}

Outcome Kadrel(const TempFolder& dir, const std::string& arguments, const std::string& path) {
    const std::string command = "cd '" + dir.Path().string() + "' && PATH='" + path + "' LC_ALL=C '" KADREL_EXE +
                                std::string("' compare ") + arguments + " >out.txt 2>err.txt";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir / "out.txt"), ReadText(dir / "err.txt")};
}

// The built-in aligner needs no t_coffee, and the report does not depend on how many pairs are
// aligned at once.
TEST(BuiltinCompare, SameReportWithOneOrThreeJobsAndNoTCoffee) {
    TempFolder dir;
    const auto set1 = Variants(4, 7), set2 = Variants(5, 99);
    for (std::size_t i = 0; i < set1.size(); ++i)
        dir.Write("specimens/s" + std::to_string(i) + ".fas", ">s" + std::to_string(i) + "\n" + set1[i]);
    std::string references;
    for (std::size_t i = 0; i < set2.size(); ++i) references += ">ref " + std::to_string(i) + "\r\n" + set2[i];
    dir.Write("refs.fas", references);

    const std::string noTCoffee = (dir / "no-programs").string();
    const Outcome one = Kadrel(dir, "specimens refs.fas -a builtin -m k2p --no-backup -j 1", noTCoffee);
    const Outcome three = Kadrel(dir, "specimens refs.fas --aligner builtin -m k2p --no-backup -j 3", noTCoffee);
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_TRUE(one.err.ends_with("kadrel: 20 pairs compared, 0 failed\n")) << one.err;
    const auto fromTitles = [](const std::string& report) { return report.substr(report.find("\r\n")); };
    EXPECT_EQ(fromTitles(three.out), fromTitles(one.out));
    EXPECT_NE(one.out.find("\r\ns3\tref 4\t"), std::string::npos) << one.out;

    const Outcome tcoffee = Kadrel(dir, "specimens refs.fas -m k2p --no-backup", noTCoffee);
    EXPECT_EQ(tcoffee.status, 2);
    EXPECT_EQ(tcoffee.out, "");
    EXPECT_NE(tcoffee.err.find("t_coffee was not found"), std::string::npos) << tcoffee.err;
}

}  // namespace
}  // namespace kadrel
