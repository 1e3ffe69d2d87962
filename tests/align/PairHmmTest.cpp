#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "align/pairhmm/Library.h"
#include "align/pairhmm/PairInput.h"
#include "align/pairhmm/TCoffeeMethod.h"

namespace kadrel::pairhmm {
namespace {

std::string Text(const std::vector<Entry>& entries) {
    std::string text;
    for (const Entry& e : entries) {
        if (!text.empty()) text += ' ';
        text += std::to_string(e.partner) + ':' + std::to_string(e.weight);
    }
    return text;
}

// t_coffee's own intermediate values for a small pair: alpha is the model's X (name order),
// beta, the shorter, the programme's P.
TEST(PairHmm, EachStageOfASmallPairAsTCoffeeHasIt) {
    std::vector<float> matrix;
    const auto cells = MatchPosteriors("GATTCAGGATTCA", "GATTACAGATTC", matrix);
    EXPECT_EQ(cells.size(), 30u);
    const Library primary = PrimaryLibrary(cells, 13, 12);
    EXPECT_EQ(Text(primary.x[13]), "12:957");
    EXPECT_EQ(Text(primary.x[11]), "10:274 11:571");
    EXPECT_EQ(Text(primary.y[8]), "7:83 8:828 9:84");

    const Library relaxed = Relaxed(primary);
    const std::vector<std::string> beta = {"1:999", "2:996", "3:484", "4:314", "5:270 6:25", "5:36 6:265 7:25",
                                           "6:37 7:267 8:25", "7:27 8:276 9:28", "8:13 9:278 10:39",
                                           "10:235 11:137", "11:285 12:206", "12:42 13:957"};
    for (std::size_t r = 1; r <= beta.size(); ++r) EXPECT_EQ(Text(relaxed.y[r]), beta[r - 1]) << "beta " << r;
    EXPECT_EQ(LibraryScore(relaxed), 83);

    std::string points;
    for (const Point& p : PointScores(relaxed.y, 12, 13))
        points += '(' + std::to_string(p.i) + ',' + std::to_string(p.j) + ',' + std::to_string(p.score) + ')';
    // (6,5) and (8,7) print as 11.999999 and 9.000001 on their way to an integer.
    EXPECT_EQ(points,
              "(1,1,999)(2,2,996)(3,3,484)(4,4,314)(5,5,135)(5,6,12)(6,5,11)(6,6,88)(6,7,8)(7,6,12)(7,7,88)(7,8,8)"
              "(8,7,9)(8,8,92)(8,9,9)(9,8,4)(9,9,92)(9,10,13)(10,10,117)(10,11,68)(11,11,142)(11,12,103)");

    const std::string expected =
        MethodHeader(83, 13) +
        "\n\nbeta            GATTACAGATT-C\nalpha           GATTCAGGATTCA\n                ****   ****  \n\n\n\n";
    EXPECT_EQ(Engine().Align(">beta\nGATTACAGATTC\n>alpha\nGATTCAGGATTCA\n").clustal, expected);
}

TEST(PairHmm, InputThatTCoffeeSendsDownAnotherPath) {
    const std::string bases(100, 'A'), other = "ACGTACGTACGTACGTACGTAC";
    const struct {
        std::string text;
        std::string offPath;  // a part of the reason; empty: the method applies
    } cases[] = {
        {">a\n" + bases + "\n>b\n" + bases + "\n", ""},
        {">a\n" + bases + "X\n>b\n" + bases + "\n", ""},     // 1 % of other characters is still DNA
        {">a\n" + bases + "XEXE\n>b\n" + bases + "\n", "protein"},
        {">a\n" + bases + "U\n>b\n" + bases + "\n", ""},     // a U under 1 % is a wildcard
        {">a\n" + bases + "UuU\n>b\n" + bases + "\n", "as RNA: record 'a' holds U"},
        {">a\n" + bases + "\n", "1 records, not two"},
        {">a\n" + bases + "\n>b\n" + bases + "\n>c\nACGT\n", "3 records"},
        {">a\n--..\n>b\n" + bases + "\n", "record 'a' holds no sequence"},
        {">x;\n" + other + "\n>x\n" + other + "\n", "both records are named 'x'"},
        {">a\nACGTACGTA\n>b\nACGTACGTAC\n", "shorter than 20"},
        {">a\n" + other + ">b\n>b\n" + other + "\n", "holds '>'"},
        {"\n>a\n" + other + "\n>b\n" + other + "\n", "does not begin with '>'"},
        {">a\r" + other + "\r>b\r" + other + "\r", "lone CR"},
        {">a\n" + other + "\xc3\xa9\n>b\n" + other + "\n", "byte"},
        {"># STOCKHOLM\n" + other + "\n>b\n" + other + "\n", "another alignment format"},
        {">a\n" + other + "\nATOM\n>b\n" + other + "\n", "structure"},
    };
    for (const auto& c : cases) {
        const auto input = ReadPairInput(c.text);
        if (c.offPath.empty()) EXPECT_EQ(input.offPath, "") << c.text;
        else EXPECT_NE(input.offPath.find(c.offPath), std::string::npos) << c.text << " -> " << input.offPath;
    }
}

TEST(PairHmm, NamesAndResiduesAsTCoffeePrintsThem) {
    const auto input = ReadPairInput("> other:5; a comment\r\nac-g.T#*~n\r\n  ACGT ACGT\r\n>na(m)e,x\nGATTACAGATTACAGATTACA\n");
    ASSERT_EQ(input.records.size(), 2u);
    EXPECT_EQ(input.records[0].name, "other_5");
    EXPECT_EQ(input.records[0].residues, "acgTnACGTACGT");
    EXPECT_EQ(input.records[1].name, "na_m_e_x");
    EXPECT_EQ(ReadPairInput(">gi|12|x\n" + std::string(30, 'A') + "\n>b\nA\n").records[0].name, "gi|12|x");
}

}  // namespace
}  // namespace kadrel::pairhmm
