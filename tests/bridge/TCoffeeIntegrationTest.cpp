// Runs the real t_coffee. The expected rows are worked out here from alignments that this test
// has t_coffee make on its own, outside Kadrel's bridge, and counts it makes by its own rules for
// sequences of definite bases: only the aligner is shared with the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "RunTestSupport.h"
#include "TestFolder.h"
#include "align/TCoffeeAligner.h"
#include "calc/RunComparison.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using test::MemorySink;
using test::ReadText;

// Three barcodes of definite bases a few changes apart (transitions, transversions, indels).
const std::vector<std::pair<std::string, std::string>> kQueries = {
    {"q1", "ATGGCACTTAGCCTACTAATTCGAGCAGAACTAGGACAACCAGGATCACTTCTAGGAGACGATCAAATTTATAACGTTATTGTCACCGCCCATGC"},
    {"q2", "ATGGCACTTAGCCTACTAATTCGAGCCGAACTAGGTCAACCAGGATCACTTCTAGGAGACGACCAAATTTATAACGTAATTGTCACCGCCCATGC"},
    {"q3", "ATGGCACTTAGCCTGCTAATTCGAGCAGAACTAGGACAACCAGGATCACTTCTAGGGGACGATCAAATTTATAACGTTATTGTCACCGCATGC"},
};
const std::vector<std::pair<std::string, std::string>> kReferences = {
    {"r1", "ATGGCACTTAGCCTACTAATTCGAGCAGAACTAGGACAACCAGGATCACTTCTAGGAGACGATCAAATTTATAACGTTATTGTCACCGCCCATGC"},
    {"r2", "ATGACACTTAGCCTACTGATTCGAGCAGAACTCGGACAACCAGGATCACTTTTAGGAGACGATCAAATTTATAACGTTATTGTCACCGCCCATGC"},
    {"r3", "ATGGCACTTAGCCTACTAATTCGAGCAGAACTAGGACAACCAGGATCACTTCTAGGAGACGATCAAAATTTATAACGTTATTGTCACCGCCCATGCA"},
};

double Round3(double x) { return std::nearbyint(x * 1000) / 1000; }

// t_coffee run by hand in a folder of the test's own on the two sequences, and the row's numbers
// counted from its alignment: length, differences, p, gaps, transitions, transversions, ratio, K2P.
std::vector<double> AlignAndCount(const std::string& a, const std::string& b, const fs::path& folder) {
    std::ofstream(folder / "pair.fas", std::ios::binary) << ">s1\n" << a << "\n>s2\n" << b << "\n";
    const std::string command = "cd '" + folder.string() + "' && t_coffee pair.fas >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::istringstream aln(ReadText(folder / "pair.aln"));
    std::string line, first, second;
    std::getline(aln, line);
    const double length = std::stod(line.substr(line.find("Len=") + 4));
    while (std::getline(aln, line)) {
        std::istringstream fields(line);
        std::string label, piece;
        fields >> label >> piece;
        if (label == "s1") first += piece;
        if (label == "s2") second += piece;
    }
    EXPECT_EQ(first.size(), static_cast<std::size_t>(length));
    EXPECT_EQ(second.size(), first.size());
    const auto purine = [](char c) { return c == 'A' || c == 'G'; };
    double gaps = 0, ts = 0, tv = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i] == second[i]) continue;
        if (first[i] == '-' || second[i] == '-') ++gaps;
        else ++(purine(first[i]) == purine(second[i]) ? ts : tv);
    }
    const double compared = length - gaps, p = Round3((ts + tv) / compared);
    // Kadrel's Kimura form: d = (0.25 ln(1 / (1 - 2Q)) + ln(1 / (1 - 2P - Q))) / 2.
    const double P = ts / compared, Q = tv / compared;
    const double k2p = p == 0 ? 0 : Round3((0.25 * std::log(1 / (1 - 2 * Q)) + std::log(1 / ((1 - 2 * P) - Q))) * 0.5);
    return {length, ts + tv, p, gaps, ts, tv, Round3(tv == 0 ? ts : ts / tv), k2p};
}

std::vector<double> Numbers(const std::string& row) {
    std::vector<double> numbers;
    std::istringstream fields(row);
    std::string field;
    for (int column = 0; std::getline(fields, field, '\t'); ++column)
        if (column >= 2) numbers.push_back(std::stod(field));
    return numbers;
}

class TCoffeeIntegration : public ::testing::Test {
protected:
    void SetUp() override {
        if (!TCoffeeAligner().CheckAvailable().empty()) GTEST_SKIP() << "t_coffee is not installed";
        std::string references;
        for (const auto& [name, sequence] : kQueries)
            dir.Write("queries/" + name + ".fas", ">" + name + "\n" + sequence + "\n");
        for (const auto& [name, sequence] : kReferences) references += ">" + name + "\r\n" + sequence + "\r\n";
        dir.Write("references.fas", references);
        fs::create_directory(dir / "by-hand");
    }

    // The report's lines, which must hold 3 x 3 rows and their best matches.
    std::vector<std::string> Run(const std::string& set1, const std::string& set2) {
        TCoffeeAligner aligner;
        MemorySink sink;
        const RunOptions options{DistanceModel::K2P, ".", "", 2};
        const RunSummary summary = RunComparison(ReadSequenceSet(1, dir / set1), ReadSequenceSet(2, dir / set2),
                                                 options, aligner, sink, {});
        EXPECT_EQ(summary.StatusText(), "done");
        EXPECT_EQ(Lines(sink.report).size(), 2u + 9u + 1u + 3u) << sink.report;
        return Lines(sink.report);
    }

    test::TestFolder dir;
};

TEST_F(TCoffeeIntegration, RowsMatchCountsMadeFromTheAlignerOutput) {
    const auto lines = Run("queries", "references.fas");
    ASSERT_EQ(lines.size(), 15u);
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string& row = lines[2 + 3 * i + k];
            SCOPED_TRACE(row);
            EXPECT_EQ(row.rfind(kQueries[i].first + "\t" + kReferences[k].first + "\t", 0), 0u);
            const auto expected = AlignAndCount(kQueries[i].second, kReferences[k].second, dir / "by-hand");
            const std::vector<double> got = Numbers(row);
            ASSERT_EQ(got.size(), expected.size());
            for (std::size_t c = 0; c < got.size(); ++c) EXPECT_NEAR(got[c], expected[c], 1e-9) << "column " << c + 3;
        }
    }
}

TEST_F(TCoffeeIntegration, AFileComparedWithItselfGivesEveryPair) {
    const auto lines = Run("references.fas", "references.fas");
    ASSERT_EQ(lines.size(), 15u);
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(lines[2 + 3 * i + k].find("NA"), std::string::npos);
        EXPECT_EQ(Numbers(lines[2 + 4 * i])[1], 0) << "a record differs from itself: " << lines[2 + 4 * i];
        EXPECT_EQ(lines[12 + i], kReferences[i].first + "\t" + kReferences[i].first + "\t0");
    }
}

}  // namespace
}  // namespace kadrel
