#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QSpinBox>
#include <QValueAxis>
#include <cmath>
#include <map>
#include <memory>
#include <numeric>

#include "calc/BestMatches.h"
#include "calc/DistanceHistogram.h"
#include "calc/ReportDistances.h"
#include "ui/ChartWindow.h"
#include "ui/DistanceChart.h"
#include "ui/WindowTest.h"

namespace kadrel::ui::test {
namespace {

using Offers = std::vector<std::pair<const char*, std::optional<double>>>;

// One (the report's default) or N per record, below 10 only, in increasing distance, equal ones in
// set-2 order; with ties, every one tied with the last listed.
TEST(BestMatchesOfMany, UpToNInIncreasingDistanceAndTheTiesOfTheLast) {
    const struct {
        const char* what;
        std::size_t count;
        bool ties;
        Offers offers;
        std::string lines;  // name, value; one per line
    } cases[] = {
        {"one: ties go to the first", 1, false, {{"a", .25}, {"b", .1}, {"c", .1}}, "b 0,1|"},
        {"one: ten and above are never chosen", 1, false, {{"a", 10}, {"b", 12.5}}, " NA|"},
        {"one: just below ten is", 1, false, {{"a", 10}, {"b", 9.999}}, "b 9,999|"},
        {"one: NA is no candidate, zero wins", 1, false, {{"a", {}}, {"b", .3}, {"c", 0}}, "c 0|"},
        {"three of six", 3, false, {{"a", .2}, {"b", .1}, {"c", .3}, {"d", .1}, {"e", {}}, {"f", 0}},
         "f 0|b 0,1|d 0,1|"},
        {"the cut falls in a tie", 2, true, {{"a", .2}, {"b", .1}, {"c", .2}, {"d", .3}, {"e", .2}},
         "b 0,1|a 0,2|c 0,2|e 0,2|"},
        {"ties of the last only", 2, false, {{"a", .2}, {"b", .1}, {"c", .2}}, "b 0,1|a 0,2|"},
        {"a closer match drops the ties", 2, true, {{"a", .3}, {"b", .3}, {"c", .3}, {"d", .1}, {"e", .2}},
         "d 0,1|e 0,2|"},
        {"a tie ahead keeps the later", 1, true, {{"a", .3}, {"b", .1}, {"c", .1}, {"d", .1}}, "b 0,1|c 0,1|d 0,1|"},
        {"fewer candidates than asked", 5, true, {{"a", 10}, {"b", 9.5}, {"c", {}}, {"d", 12}}, "b 9,5|"},
        {"no candidate", 3, true, {{"a", {}}, {"b", 10}}, " NA|"},
    };
    for (const auto& c : cases) {
        BestMatches best(c.count, c.ties);
        best.BeginRecord("q");
        for (const auto& [name, value] : c.offers) best.Offer(name, value);
        std::string text = best.Text(",");
        std::string lines;
        for (std::size_t at = text.find("\r\nq\t"); at != std::string::npos; at = text.find("\r\nq\t", at + 1)) {
            const auto end = text.find("\r\n", at + 2);
            std::string line = text.substr(at + 4, end - at - 4);
            line[line.find('\t')] = ' ';
            lines += line + "|";
        }
        EXPECT_EQ(lines, c.lines) << c.what;
    }
}

std::string Row(const char* name1, const char* name2, const char* p, const char* k2p) {
    return std::string(name1) + "\t" + name2 + "\t100\t1\t" + p + "\t0\t1\t0\t0\t" + k2p + "\r\n";
}

const std::string kTitlesK2P =
    "Seq1\tSeq2\tLength\tNo. Diff.\tp-Dist\tNo. gaps\tNo. Trans.\tNo. Transv.\tTs/Tv\tK2P-dist.\r\n";
// A K2P report with a decimal comma; its K2P distances fall in bins 0, 2, 2, 6, 10 and 40 of
// 0.005, and one is NA.
const std::string kReport = "Comparisons by Orvo   DATE     Kadrel 0.1.0\r\n" + kTitlesK2P + Row("q1", "r1", "0", "0") +
                            Row("q1", "r2", "0,01", "0,01") + Row("q1", "r3", "0,012", "0,012") +
                            Row("q2", "r1", "0,9", "NA") + Row("q2", "r2", "0,03", "0,03") +
                            Row("q2", "r3", "0,05", "0,05") + Row("q3", "r1", "0,2", "0,2") +
                            "Best matches:\r\nq1\tr1\t0\r\nq2\tr2\t0,03\r\nq3\tr1\t0,2\r\n";

TEST(ReportDistancesReader, TheRankingColumnOfTheLastReport) {
    const std::string none = "Seq1\tSeq2\tLength\tNo. Diff.\tp-Dist\tNo. gaps\tNo. Trans.\tNo. Transv.\tTs/Tv\t\n"
                             "a\tb\t10\t1\t0.1\t0\t0\t1\t0\n\na\tc\tNA\tNA\tNA\tNA\tNA\tNA\tNA\n"
                             "Best matches:\na\tb\t0.1\n";
    using Values = std::vector<std::optional<double>>;
    const struct {
        std::string text;
        std::string title;
        Values pairs, best;
    } cases[] = {
        {kReport, "K2P-dist.", {0, .01, .012, {}, .03, .05, .2}, {0, .03, .2}},
        {none, "p-Dist", {.1, {}}, {.1}},
        {kReport + "banner\r\n" + none, "p-Dist", {.1, {}}, {.1}},
        {kTitlesK2P + Row("a", "b", "0.5", "0.75"), "K2P-dist.", {.75}, {}},
    };
    for (const auto& c : cases) {
        const ReportDistances read = ReadReportDistances(c.text);
        EXPECT_EQ(read.title, c.title);
        EXPECT_EQ(read.pairs, c.pairs) << c.text;
        EXPECT_EQ(read.best, c.best) << c.text;
    }
    // Refused, with the line counted as an editor counts it (CR LF is one line end).
    const std::pair<std::string, std::string> bad[] = {
        {"no report at all\r\n", "no report found"},
        {"Seq1\tSeq2\tLength\r\n", "line 1:"},
        {kTitlesK2P + "a\tb\t1\r\n", "line 2 holds 3 fields"},
        {kTitlesK2P + Row("a", "b", "1", "0.1x"), "line 2"},
        {kTitlesK2P + Row("a", "b", "1", "1") + "Best matches:\r\na\tb\r\n", "line 4 holds 2 fields"},
    };
    for (const auto& [text, message] : bad) {
        try {
            ReadReportDistances(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const ReportFormatError& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with(message)) << e.what();
        }
    }
}

// Bins of 1, 2 or 5 times a power of ten from 0 (or from below, for a negative value); a value on
// a bin's edge belongs to the bin it starts; a value at the threshold is not below it.
TEST(DistanceHistogramBins, EdgesWidthsAndCounts) {
    const struct {
        std::vector<std::optional<double>> pairs;
        double threshold, start, width;
        std::size_t size;
        std::map<std::size_t, std::size_t> filled;  // bin, count
        std::size_t below, atOrAbove, na;
    } cases[] = {
        {{0.03, 0.02, {}, 0.039}, 0.02, 0, 0.001, 40, {{20, 1}, {30, 1}, {39, 1}}, 0, 3, 1},
        {{0, 0, 0}, 0.02, 0, 0.0005, 1, {{0, 3}}, 3, 0, 0},
        {{5.9, 6.1, 0.4}, 1, 0, 0.2, 31, {{2, 1}, {29, 1}, {30, 1}}, 1, 2, 0},
        {{-0.3, 0.1}, 0, -0.3, 0.01, 41, {{0, 1}, {40, 1}}, 1, 1, 0},
    };
    for (const auto& c : cases) {
        const DistanceHistogram h = MakeDistanceHistogram({"d", c.pairs, {}}, c.threshold);
        EXPECT_DOUBLE_EQ(h.start, c.start);
        EXPECT_DOUBLE_EQ(h.width, c.width);
        std::vector<std::size_t> bins(c.size, 0);
        for (const auto& [bin, count] : c.filled) bins[bin] = count;
        EXPECT_EQ(h.pairs, bins) << c.width;
        EXPECT_EQ(std::tuple(h.pairsCounts.below, h.pairsCounts.atOrAbove, h.pairsCounts.na),
                  std::tuple(c.below, c.atOrAbove, c.na));
    }
}

// The chart's histograms, read back from its bars: all pairs, then the best matches.
std::pair<std::vector<double>, std::vector<double>> Histograms(QChart& chart) {
    const auto sets = qobject_cast<QAbstractBarSeries*>(chart.series().at(0))->barSets();
    std::vector<double> all, best;
    for (int i = 0; i < sets.at(0)->count(); ++i) {
        best.push_back(sets.at(0)->at(i));
        all.push_back(sets.at(0)->at(i) + sets.at(1)->at(i));
    }
    return {all, best};
}

TEST(DistanceChart, BinsHoldTheReportsDistances) {
    const std::unique_ptr<QChart> chart(MakeDistanceChart(ReadReportDistances(kReport), 0.02));
    std::vector<double> all(41, 0), best(41, 0);
    all[0] = 1, all[2] = 2, all[6] = 1, all[10] = 1, all[40] = 1;
    best[0] = 1, best[6] = 1, best[40] = 1;
    EXPECT_EQ(Histograms(*chart), std::pair(all, best));
    // The line stands at the threshold on the axis of the distances, which spans the bins.
    auto* line = qobject_cast<QLineSeries*>(chart->series().at(1));
    ASSERT_EQ(line->count(), 2);
    EXPECT_EQ(line->at(0).x(), 0.02);
    EXPECT_EQ(line->at(1).x(), 0.02);
    const auto* distance = qobject_cast<QValueAxis*>(line->attachedAxes().front());
    EXPECT_DOUBLE_EQ(distance->max() - distance->min(), 41 * 0.005);
    // The counts below and at or above the threshold stand in the legend.
    const QString legend = qobject_cast<QAbstractBarSeries*>(chart->series().at(0))->barSets().at(1)->label();
    EXPECT_TRUE(legend.contains("3 below 0.02, 3 at or above (1 NA")) << legend.toStdString();
}

// Axis steps are 1, 2 or 5 times a power of ten; the distances get about six of them, and the
// counts end at the first step at or above the highest bar.
TEST(DistanceChart, AxesStepByRoundNumbers) {
    const auto roundStep = [](double step) {
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9;
    };
    const struct {
        const char* what;
        std::vector<std::optional<double>> pairs;
        double highest;
    } cases[] = {
        {"one pair per bin", {0.0, 0.1, 0.2}, 1},
        {"wide spread", {0.0, 0.45, 0.45}, 2},
        {"a tall bar", std::vector<std::optional<double>>(400, 0.03), 400},
        {"narrow", {0.001, 0.002, 0.002, 0.002}, 3},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<QChart> chart(MakeDistanceChart(ReportDistances{"p-Dist", c.pairs, {}}, 0.02));
        const auto axes = chart->series().at(1)->attachedAxes();
        const auto* distance = qobject_cast<QValueAxis*>(axes.at(0));
        const auto* count = qobject_cast<QValueAxis*>(axes.at(1));
        const double ticks = (distance->max() - distance->min()) / distance->tickInterval();
        EXPECT_TRUE(roundStep(distance->tickInterval())) << c.what << " " << distance->tickInterval();
        EXPECT_TRUE(ticks >= 3 && ticks <= 12) << c.what << " " << ticks;
        const double step = count->tickInterval();
        EXPECT_TRUE(roundStep(step) && step >= 1) << c.what << " " << step;
        EXPECT_EQ(std::fmod(count->max(), step), 0) << c.what;
        EXPECT_TRUE(count->max() >= c.highest && count->max() - step < c.highest) << c.what << " " << count->max();
    }
}

TEST(DistanceChart, SavedAsSvgOrPngOrNotAtAll) {
    const kadrel::test::TempFolder folder;
    const ReportDistances report = ReadReportDistances(kReport);
    ReportDistances allNA = report;
    for (auto& value : allNA.pairs) value.reset();
    const struct {
        const ReportDistances* report;
        std::string name;
        const char* problem;  // what the message holds, or nothing when the picture is written
    } cases[] = {
        {&report, "c.svg", nullptr}, {&report, "c.png", nullptr}, {&report, "c.txt", "ends in one of .svg .bmp"},
        {&report, "gone/c.svg", "gone/c.svg\": No such file or directory"}, {&report, "c.jpg", nullptr}, {&allNA, "na.svg", "NA"},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromStdString((folder / c.name).string());
        const QString problem = SaveDistanceChart(*c.report, 0.02, path);
        EXPECT_EQ(fs::exists(folder / c.name), c.problem == nullptr) << c.name;
        if (c.problem != nullptr) {
            EXPECT_TRUE(problem.contains(c.problem)) << problem.toStdString();
        } else {
            EXPECT_EQ(problem, QString()) << c.name;
        }
    }
    EXPECT_NE(ReadText(folder / "c.svg").find("<svg"), std::string::npos);
    EXPECT_EQ(QImage(QString::fromStdString((folder / "c.png").string())).size(), QSize(900, 560));
}

// The window draws the report in its box: every pair, and the best matches the run listed.
TEST_F(WindowTest, ChartOfTheReportInTheBox) {
    Open();
    ChooseFolders(Folder("left"), Folder("right"));
    Find<QSpinBox>("BestCount")->setValue(2);
    CalculateAndWait();
    const std::string text = box_->ReportText();
    EXPECT_EQ(std::count(text.begin() + static_cast<long>(text.find("Best matches:")), text.end(), '\n'), 1 + 3 * 2);
    Click("CommandChart");
    auto* window = form_->findChild<ChartWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    const auto [all, best] = Histograms(*window->View()->chart());
    EXPECT_EQ(std::accumulate(all.begin(), all.end(), 0.0), 6);
    EXPECT_EQ(std::accumulate(best.begin(), best.end(), 0.0), 6);
    EXPECT_TRUE(dialogs_->errors.isEmpty());
    window->close();

    // A box without a report, or with distances all NA, gets a message instead.
    for (const std::string& report : {std::string(), kTitlesK2P + Row("a", "b", "NA", "NA")}) {
        dialogs_->errors.clear();
        box_->ClearReport();
        box_->AppendReport(report);
        Click("CommandChart");
        EXPECT_EQ(dialogs_->errors.size(), 1);
    }
}

}  // namespace
}  // namespace kadrel::ui::test
