#include <QAreaSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <memory>

#include "GapLibrary.h"
#include "ui/GapCharts.h"

namespace kadrel::ui::test {
namespace {

using kadrel::test::HandCheckedLibrary;

std::vector<QPointF> PointsOf(QAbstractSeries* series) {
    const auto* xy = qobject_cast<QXYSeries*>(series);
    if (!xy) return {};
    const QList<QPointF> points = xy->points();
    return {points.begin(), points.end()};
}

TEST(GapPlot, SpeciesAgainstTheirNearestAndTheNamesBelowTheLine) {
    const std::unique_ptr<QChart> chart(MakeGapPlot(HandCheckedLibrary()));
    const auto series = chart->series();
    // E, a singleton, has no intraspecific distance to draw.
    const std::vector<QPointF> species = {{.01, .05}, {.02, .05}, {.03, .02}, {.02, .02}};
    EXPECT_EQ(PointsOf(series.at(0)), species);
    const auto line = PointsOf(series.at(1));
    ASSERT_EQ(line.size(), 2u);
    EXPECT_EQ(line[0], QPointF(0, 0));
    EXPECT_EQ(line[1].x(), line[1].y());
    EXPECT_EQ(PointsOf(series.at(2)), std::vector<QPointF>{QPointF(.03, .02)});  // c2
    ASSERT_EQ(series.size(), 6);
    EXPECT_EQ(series.at(3)->name(), "C");
    EXPECT_EQ(series.at(4)->name(), "D");  // on the line
    EXPECT_EQ(series.at(5)->name(), "c2");
    EXPECT_EQ(qobject_cast<QXYSeries*>(series.at(5))->pointLabelsFormat(), "c2");
    // C's name sits on its point; c2's point is C's, so its name goes one line up; D's is apart.
    EXPECT_EQ(PointsOf(series.at(3)), std::vector<QPointF>{QPointF(.03, .02)});
    EXPECT_EQ(PointsOf(series.at(4)), std::vector<QPointF>{QPointF(.02, .02)});
    const auto c2 = PointsOf(series.at(5));
    ASSERT_EQ(c2.size(), 1u);
    EXPECT_EQ(c2[0].x(), .03);
    EXPECT_GT(c2[0].y(), .02);
    EXPECT_FALSE(chart->title().contains("left out"));
}

// Boxes 0.1 wide and 0.05 high: each name takes the first free place of 0, up, down, two up, two
// down; a sixth on one point finds none, and nothing goes below the plot.
TEST(GapPlotLabels, CloseNamesMoveApartOrAreLeftOut) {
    struct Case {
        std::vector<std::pair<double, double>> points;
        std::vector<std::optional<double>> lifts;
    };
    const double h = .05;
    const std::vector<Case> cases = {
        {{{.2, .5}, {.5, .5}}, {0, 0}},                 // apart
        {{{.2, .5}, {.25, .5}}, {0, h}},                // side by side, overlapping
        {{{.2, .5}, {.2, .56}}, {0, 0}},                // one above the other, clear
        {{{.5, .5}, {.5, .5}, {.5, .5}, {.5, .5}, {.5, .5}, {.5, .5}}, {0, h, -h, 2 * h, -2 * h, std::nullopt}},
        {{{.5, 0}, {.5, 0}, {.5, 0}}, {0, h, 2 * h}},   // never below the axis
    };
    for (const Case& c : cases) {
        std::vector<PlotLabel> labels;
        for (const auto& [x, y] : c.points) labels.push_back({x, y, .1, h});
        const auto lifts = PlaceLabels(labels);
        ASSERT_EQ(lifts.size(), c.lifts.size());
        for (std::size_t l = 0; l < lifts.size(); ++l) {
            ASSERT_EQ(lifts[l].has_value(), c.lifts[l].has_value()) << l;
            if (lifts[l]) {
                EXPECT_NEAR(*lifts[l], *c.lifts[l], 1e-12) << l;
            }
        }
    }
}

TEST(GapHistogramPicture, TwoOutlinesOfTheSameBinsAndTheThreshold) {
    const std::unique_ptr<QChart> chart(MakeGapHistogram(HandCheckedLibrary(), 0.03));
    const auto series = chart->series();
    ASSERT_EQ(series.size(), 3);
    const auto intra = PointsOf(qobject_cast<QAreaSeries*>(series.at(0))->upperSeries());
    const auto inter = PointsOf(qobject_cast<QAreaSeries*>(series.at(1))->upperSeries());
    ASSERT_EQ(intra.size(), inter.size());
    double intraPairs = 0, interPairs = 0;
    for (std::size_t p = 1; p + 1 < intra.size(); p += 2) {
        EXPECT_EQ(intra[p].x(), inter[p].x());
        intraPairs += intra[p].y();
        interPairs += inter[p].y();
    }
    EXPECT_EQ(intraPairs, 4);
    EXPECT_EQ(interPairs, 32);
    EXPECT_EQ(PointsOf(series.at(2)).front(), QPointF(.03, 0));
    EXPECT_TRUE(series.at(0)->name().contains("4 pairs"));
    // The distance axis starts at the first bin's edge and ends at the first step past the last's.
    const auto* distance = qobject_cast<QValueAxis*>(series.at(0)->attachedAxes().at(0));
    ASSERT_NE(distance, nullptr);
    EXPECT_DOUBLE_EQ(distance->min(), intra.front().x());
    EXPECT_GE(distance->max(), intra.back().x());
    EXPECT_LT(distance->max() - distance->tickInterval(), intra.back().x());
}

TEST(SweepPlot, FalsePositivesUnderFalseNegatives) {
    const GapAnalysis analysis = HandCheckedLibrary();
    std::vector<SweepCounts> sweep;
    for (const char* t : {"0.01", "0.02", "0.05"}) sweep.push_back(analysis.CountsAt(*ParseDecimal(t)));
    const std::unique_ptr<QChart> chart(MakeSweepPlot(sweep));
    const auto sets = qobject_cast<QStackedBarSeries*>(chart->series().at(0))->barSets();
    ASSERT_EQ(sets.size(), 2);
    const std::vector<qreal> fp = {0, 2, 4}, fn = {6, 1, 0};
    for (std::size_t t = 0; t < 3; ++t) {
        EXPECT_EQ(sets.at(0)->at(static_cast<int>(t)), fp[t]);
        EXPECT_EQ(sets.at(1)->at(static_cast<int>(t)), fn[t]);
    }
}

}  // namespace
}  // namespace kadrel::ui::test
