#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/ReportLines.h"

using namespace kadrel;

namespace {

std::string Titles(DistanceModel model, bool textbook = false) {
    std::string titles = ColumnTitleLine(model, textbook);
    return titles.substr(0, titles.size() - 2);
}

std::string Joined(const std::vector<std::string_view>& fields) {
    std::string text;
    for (const auto field : fields) text += std::string(field) + "|";
    return text;
}

}  // namespace

TEST(ReportLines, FieldsAndValues) {
    const std::pair<std::string, std::string> fields[] = {
        {"", "|"}, {"a", "a|"}, {"a\tb", "a|b|"}, {"a\t", "a||"}, {"\t\t", "|||"}, {"a b\tc", "a b|c|"}};
    for (const auto& [line, expected] : fields) EXPECT_EQ(Joined(ReportFields(line)), expected) << line;

    const struct {
        std::string field;
        bool read;
        Value value;
    } values[] = {
        {"NA", true, std::nullopt}, {"0", true, 0.0},     {"0.125", true, 0.125}, {"0,125", true, 0.125},
        {"12", true, 12.0},         {"-0.5", true, -0.5}, {"", false, {}},        {"na", false, {}},
        {"0.1x", false, {}},        {" 1", false, {}},    {"inf", false, {}},     {"nan", false, {}},
        {"1e999", false, {}},       {"0.1\r", false, {}},
    };
    for (const auto& c : values) {
        Value value = 99.0;
        EXPECT_EQ(ReadReportValue(c.field, value), c.read) << c.field;
        if (c.read) {
            EXPECT_EQ(value, c.value) << c.field;
        }
    }
}

TEST(ReportLines, BannerAndColumnTitles) {
    const std::pair<std::string, bool> banners[] = {
        {"Comparisons by Orvo   1/2/25 10:00     Kadrel 1.0", true},
        {"Comparisons by Orvo   1/2/25 10:00     Kadrel 1.0 [shard 1/2 of run 0123456789abcdef]", true},
        {"Comparisons by Orvo   1/2/25 10:00", false},
        {"Comparisons by Orvo 1/2/25     Kadrel 1.0", false},
        {"Seq1\tSeq2\t", false},
    };
    for (const auto& [line, banner] : banners) EXPECT_EQ(IsReportBanner(line), banner) << line;

    const struct {
        std::string titles;
        bool known, columns;
        std::size_t titleCount, rowFields, rankingColumn;
    } cases[] = {
        {Titles(DistanceModel::None), true, true, 10, 9, 4},
        {Titles(DistanceModel::K2P), true, true, 10, 10, 9},
        {Titles(DistanceModel::LogDet, true), true, true, 10, 10, 9},
        {Titles(DistanceModel::TN93, true), true, true, 10, 10, 9},
        {Titles(DistanceModel::None) + "\textra", false, true, 11, 9, 4},
        {"Seq1\tSeq2\tLength", false, true, 3, 9, 4},
        {"Seq1\tSeq2\tLength\tNo. Diff.\tp-Dist\tNo. gaps\tNo. Trans.\tNo. Transv.\tTs/Tv\tK9-dist.", false, true, 10, 10, 9},
        {"Seq1 Seq2", false, false, 0, 0, 0},
        {"Best matches:", false, false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsKnownColumnTitles(c.titles), c.known) << c.titles;
        const auto columns = ReadReportColumns(c.titles);
        ASSERT_EQ(columns.has_value(), c.columns) << c.titles;
        if (!columns) continue;
        EXPECT_EQ(columns->titleCount, c.titleCount) << c.titles;
        EXPECT_EQ(columns->rowFields, c.rowFields) << c.titles;
        EXPECT_EQ(columns->rankingColumn, c.rankingColumn) << c.titles;
    }
    EXPECT_EQ(ColumnsOfModel(DistanceModel::None).rowFields, 9u);
    EXPECT_EQ(ColumnsOfModel(DistanceModel::JC).rowFields, 10u);
}

// The blocks follow each other once: a second "Best matches:" or a stopped line among the rows is
// no line of the block it stands in.
TEST(ReportLines, BodyLinesInTheirBlocks) {
    using Kind = ReportBodyReader::Kind;
    const std::string k2pRow = "a\tb\t10\t1\t0.1\t0\t1\t0\t0\t0.107";
    const std::string noneRow = "a\tb\t10\t1\t0.1\t0\t1\t0\t0";
    const struct {
        DistanceModel model;
        std::vector<std::pair<std::string, Kind>> lines;
    } cases[] = {
        {DistanceModel::K2P,
         {{k2pRow, Kind::Row},
          {noneRow, Kind::Unknown},
          {"Stopped before the end: 1 of 4 pairs compared", Kind::Unknown},
          {"", Kind::Unknown},
          {"Best matches:", Kind::BestMatchesStart},
          {"a\tb\t0.107", Kind::BestMatch},
          {"a\t\tNA", Kind::BestMatch},
          {k2pRow, Kind::Unknown},
          {"Best matches:", Kind::Unknown},
          {"Stopped before the end: 1 of 4 pairs compared", Kind::Stopped}}},
        {DistanceModel::None,
         {{noneRow, Kind::Row}, {k2pRow, Kind::Unknown}, {"a\tb\t0.1", Kind::Unknown}, {"Best matches:", Kind::BestMatchesStart}}},
    };
    for (const auto& c : cases) {
        ReportBodyReader body(ColumnsOfModel(c.model));
        for (const auto& [line, kind] : c.lines) {
            const bool wasInBest = body.InBestMatches();
            const auto read = body.Read(line);
            EXPECT_EQ(read.kind, kind) << line;
            if (kind == Kind::Row || kind == Kind::BestMatch) {
                EXPECT_EQ(read.fields.size(), read.expectedFields) << line;
            }
            if (kind == Kind::Unknown) {
                EXPECT_EQ(read.expectedFields, wasInBest ? 3u : ColumnsOfModel(c.model).rowFields) << line;
            }
        }
    }
}

TEST(ReportLines, RowValuesAndNA) {
    const struct {
        std::string row;
        DistanceModel model;
        bool read, holdsNA;
        Value length, p, ratio, model_;
    } cases[] = {
        {"a\tb\t10\t1\t0,1\t0\t1\t0\tNA\t0.107", DistanceModel::K2P, true, true, 10.0, 0.1, std::nullopt, 0.107},
        {"a\tb\t10\t1\t0.1\t0\t1\t0\t2", DistanceModel::None, true, false, 10.0, 0.1, 2.0, std::nullopt},
        {"NA\tNA\tNA\tNA\tNA\tNA\tNA\tNA\tNA", DistanceModel::None, true, true, {}, {}, {}, {}},
        {"NA\tb\t10\t1\t0.1\t0\t1\t0\t2", DistanceModel::None, true, false, 10.0, 0.1, 2.0, std::nullopt},
        {"a\tb\t10\t1\t0.1\t0\t1\t0\t2\t0.2", DistanceModel::None, false, false, {}, {}, {}, {}},
        {"a\tb\t10\t1\t0.1\t0\t1\t0\t2", DistanceModel::JC, false, false, {}, {}, {}, {}},
        {"a\tb\t10\t1\t0.1x\t0\t1\t0\t2", DistanceModel::None, false, false, {}, {}, {}, {}},
        {"a\tb\t10\t1\t0.1\t0\t1\t0\t", DistanceModel::None, false, false, {}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        const auto fields = ReportFields(c.row);
        EXPECT_EQ(RowHoldsNA(fields), c.holdsNA) << c.row;
        PairRow row;
        ASSERT_EQ(ReadPairRowValues(fields, ColumnsOfModel(c.model), row), c.read) << c.row;
        if (!c.read) continue;
        EXPECT_EQ(row.length, c.length) << c.row;
        EXPECT_EQ(row.pDistance, c.p) << c.row;
        EXPECT_EQ(row.tsTvRatio, c.ratio) << c.row;
        EXPECT_EQ(row.modelDistance, c.model_) << c.row;
    }
}

TEST(ReportLines, LinesAtEveryLineEnd) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a\r\n", "a<CRLF>"},
        {"a\r\nb\nc\rd", "a<CRLF>b<LF>c<CR>d<>"},
        {"\n\n", "<LF><LF>"},
        {"a\r\r\nb", "a<CR><CRLF>b<>"},
        {"a\n\rb", "a<LF><CR>b<>"},
    };
    for (const auto& [text, expected] : cases) {
        ReportTextLines lines(text);
        std::string seen;
        for (std::string_view line, end; lines.Next(line, end);) {
            seen += std::string(line) + "<" + (end == "\r\n" ? "CRLF" : end == "\n" ? "LF" : end == "\r" ? "CR" : "") + ">";
            EXPECT_EQ(lines.Offset(), static_cast<std::size_t>(end.data() + end.size() - text.data()));
        }
        EXPECT_EQ(seen, expected) << text;
    }
}
