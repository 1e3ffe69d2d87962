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
        {"empty text", "", {}},
        {"mixed line ends; the name ends at the first CR or LF",
         "x\n>a\rAC\r\n>b\nGT\r>c\r\nTT",
         {{"a", ">a\rAC\r\n"}, {"b", ">b\nGT\r"}, {"c", ">c\r\nTT"}}},
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
