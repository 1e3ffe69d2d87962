#include "FastaRecords.h"

#include <gtest/gtest.h>

namespace lutrane {

void PrintTo(const FastaRecord& r, std::ostream* os) { *os << "{name=\"" << r.name << "\", text=\"" << r.text << "\"}"; }

namespace {

struct CutCase {
    const char* what;
    std::string text;
    std::vector<FastaRecord> expected;
};


TEST(CutRecords, CutsAtEveryMarkAndKeepsRecordsWhole) {
    const std::vector<CutCase> cases = {
        {"no mark: no record", "ACGT\r\nGGCC\r\n", {}},
        {"empty text", "", {}},
        {"text before the first mark is not a record", "comment line\r\n>a\r\nAC\r\n", {{"a", ">a\r\nAC\r\n"}}},
        {"several sequence lines stay with their record",
         ">abc x\r\nACGT\r\nGGCC\r\n>d\r\nTT\r\n",
         {{"abc x", ">abc x\r\nACGT\r\nGGCC\r\n"}, {"d", ">d\r\nTT\r\n"}}},
        {"LF line ends", ">a b\nAC\nGT\n>c\nTT\n", {{"a b", ">a b\nAC\nGT\n"}, {"c", ">c\nTT\n"}}},
        {"lone CR line ends", ">a\rAC\rGT\r>c\rTT\r", {{"a", ">a\rAC\rGT\r"}, {"c", ">c\rTT\r"}}},
        {"a mark inside a header cuts there",
         ">abc x>y z\r\nAC\r\n",
         {{"abc x", ">abc x"}, {"y z", ">y z\r\nAC\r\n"}}},
        {"name line followed by an empty line", ">abc\r\n\r\nACGT\r\n", {{"abc", ">abc\r\n\r\nACGT\r\n"}}},
        {"no line end at the end", ">a\nAC", {{"a", ">a\nAC"}}},
        {"empty names", ">>\nAC\n", {{"", ">"}, {"", ">\nAC\n"}}},
        {"blanks of the name are kept", ">  a  \tb \r\nAC\r\n", {{"  a  \tb ", ">  a  \tb \r\nAC\r\n"}}},
    };
    for (const CutCase& c : cases) {
        const std::vector<FastaRecord> records = CutRecords(c.text);
        EXPECT_EQ(records, c.expected) << c.what;

        // Nothing from the first mark on is lost or repeated.
        std::string joined;
        for (const FastaRecord& r : records) joined += r.text;
        const std::size_t first = c.text.find('>');
        EXPECT_EQ(joined, first == std::string::npos ? "" : c.text.substr(first)) << c.what;
    }
}

}  // namespace
}  // namespace lutrane
