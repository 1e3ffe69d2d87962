#include "ui/DistanceChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "calc/DistanceHistogram.h"
#include "ui/ChartFile.h"

namespace kadrel::ui {
namespace {

QString Number(double value) { return QString::number(value, 'g', 6); }

QString CountsText(const char* what, const ThresholdCounts& counts, double threshold) {
    QString text = QStringLiteral("%1: %2 below %3, %4 at or above")
                       .arg(QString::fromLatin1(what))
                       .arg(counts.below)
                       .arg(Number(threshold))
                       .arg(counts.atOrAbove);
    if (counts.na != 0) text += QStringLiteral(" (%1 NA left out)").arg(counts.na);
    return text;
}

QBarSet* Bars(const QString& label, const QColor& colour) {
    auto* set = new QBarSet(label);
    set->setColor(colour);
    set->setBorderColor(colour.darker(140));
    return set;
}

}  // namespace

QChart* MakeDistanceChart(const ReportDistances& report, double threshold) {
    DistanceHistogram histogram = MakeDistanceHistogram(report, threshold);
    // Bins up to the threshold, so that its line stands over the bars even beyond them.
    if (histogram.width > 0 && threshold > histogram.start) {
        const auto needed = static_cast<std::size_t>((threshold - histogram.start) / histogram.width) + 1;
        if (needed > histogram.pairs.size() && needed <= 4 * histogram.pairs.size()) {
            histogram.pairs.resize(needed, 0);
            histogram.best.resize(needed, 0);
        }
    }

    auto* chart = new QChart;
    const QString title = QString::fromStdString(report.title);
    chart->setTitle(QStringLiteral("%1 of %2 pairs and %3 best matches")
                        .arg(title)
                        .arg(report.pairs.size())
                        .arg(report.best.size()));
    // The best matches are pairs too: drawn at the foot of the bars of all pairs, so that each
    // bar's whole height is the histogram of all pairs and its lower part that of the best matches.
    QBarSet* best = Bars(CountsText("Best matches", histogram.bestCounts, threshold), QColor(200, 82, 62));
    QBarSet* others = Bars(CountsText("All pairs", histogram.pairsCounts, threshold), QColor(150, 185, 220));
    std::size_t highest = 1;
    for (std::size_t i = 0; i < histogram.pairs.size(); ++i) {
        const std::size_t inBest = std::min(histogram.best[i], histogram.pairs[i]);
        best->append(static_cast<qreal>(inBest));
        others->append(static_cast<qreal>(histogram.pairs[i] - inBest));
        highest = std::max(highest, histogram.pairs[i]);
    }
    auto* bars = new QStackedBarSeries;
    bars->append(best);
    bars->append(others);
    bars->setBarWidth(1.0);
    chart->addSeries(bars);

    auto* line = new QLineSeries;
    line->setName(QStringLiteral("Threshold %1").arg(Number(threshold)));
    chart->addSeries(line);

    // The bars stand on bins; a value axis under them gives the distances, and the line's place.
    auto* bins = new QBarCategoryAxis;
    for (std::size_t i = 0; i < histogram.pairs.size(); ++i) bins->append(QString::number(i));
    bins->setVisible(false);
    chart->addAxis(bins, Qt::AlignBottom);
    const double end = histogram.start + histogram.width * static_cast<double>(histogram.pairs.size());
    auto* distance = new QValueAxis;
    distance->setTitleText(title);
    distance->setRange(histogram.start, end);
    distance->setTickType(QValueAxis::TicksDynamic);
    distance->setTickAnchor(0);
    distance->setTickInterval(AxisStep(end - histogram.start, 6));
    distance->setLabelFormat(QStringLiteral("%.4g"));
    chart->addAxis(distance, Qt::AlignBottom);
    auto* count = new QValueAxis;
    count->setTitleText(QStringLiteral("Pairs"));
    const double countStep = std::max(1.0, AxisStep(static_cast<double>(highest), 6));
    count->setRange(0, std::ceil(static_cast<double>(highest) / countStep) * countStep);
    count->setTickType(QValueAxis::TicksDynamic);
    count->setTickAnchor(0);
    count->setTickInterval(countStep);
    count->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(count, Qt::AlignLeft);

    bars->attachAxis(bins);
    bars->attachAxis(count);
    line->attachAxis(distance);
    line->attachAxis(count);
    line->append(threshold, 0);
    line->append(threshold, count->max());
    QPen pen(Qt::black);
    pen.setWidthF(1.5);
    pen.setStyle(Qt::DashLine);
    line->setPen(pen);

    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

QString SaveDistanceChart(const ReportDistances& report, double threshold, const QString& path) {
    if (const auto nothing = NothingToDraw(report)) return QString::fromStdString(*nothing);
    return SaveChart(MakeDistanceChart(report, threshold), path);
}

std::string DrawReportChart(const ReportDistances& report, double threshold, const std::string& path) {
    return DrawChartOffscreen([&] { return SaveDistanceChart(report, threshold, QString::fromStdString(path)); });
}

}  // namespace kadrel::ui
