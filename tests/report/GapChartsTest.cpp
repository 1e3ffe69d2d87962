#include <QAreaSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
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
