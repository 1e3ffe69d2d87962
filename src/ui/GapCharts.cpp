#include "ui/GapCharts.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QFontMetricsF>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace kadrel::ui {
namespace {

// The plot area of a saved picture, about: what a label's size is reckoned against.
const QSizeF kPlotArea(760, 380);

QValueAxis* Axis(QChart* chart, const QString& title, double low, double high, Qt::Alignment where) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    const double step = AxisStep(std::max(high - low, 1e-3), 6);
    axis->setRange(low, std::max(low + step, std::ceil(high / step) * step));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setLabelFormat(QStringLiteral("%.4g"));
    chart->addAxis(axis, where);
    return axis;
}

void Attach(QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    series->attachAxis(x);
    series->attachAxis(y);
}

QChart* NewChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

QScatterSeries* Points(const QString& name, const QColor& colour, qreal size) {
    auto* points = new QScatterSeries;
    points->setName(name);
    points->setColor(colour);
    points->setMarkerSize(size);
    return points;
}

QLineSeries* DashedLine(const QString& name) {
    auto* line = new QLineSeries;
    line->setName(name);
    QPen pen(Qt::black);
    pen.setWidthF(1.5);
    pen.setStyle(Qt::DashLine);
    line->setPen(pen);
    return line;
}

// The value a record's nearest neighbour is at.
struct Labelled {
    QString name;
    QPointF at;
};

}  // namespace

QChart* MakeGapPlot(const GapAnalysis& analysis) {
    QChart* chart = NewChart(QStringLiteral("Barcoding gap: largest distance within each species against the nearest other"));
    QScatterSeries* species = Points(QStringLiteral("Species"), QColor(60, 110, 180), 9);
    QScatterSeries* nearer = Points(QStringLiteral("Records nearer another species"), QColor(200, 82, 62), 7);
    std::vector<Labelled> labels;
    double highest = 0.001;
    for (const SpeciesGap& s : analysis.Species()) {
        const auto x = IntraMax(s);
        if (!x || !s.nearestDistance) continue;
        species->append(*x, *s.nearestDistance);
        highest = std::max({highest, *x, *s.nearestDistance});
        if (*s.nearestDistance <= *x) labels.push_back({QString::fromStdString(s.name), QPointF(*x, *s.nearestDistance)});
    }
    for (const RecordGap& r : analysis.Records()) {
        if (!NearerAnotherSpecies(r)) continue;
        nearer->append(r.conspecific.distance, r.other.distance);
        highest = std::max(highest, r.conspecific.distance);
        labels.push_back({QString::fromStdString(r.id), QPointF(r.conspecific.distance, r.other.distance)});
    }
    auto* line = DashedLine(QStringLiteral("1:1 (no gap below it)"));
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{species, line, nearer}) chart->addSeries(series);
    QValueAxis* x = Axis(chart, QStringLiteral("Largest intraspecific distance"), 0, highest, Qt::AlignBottom);
    QValueAxis* y = Axis(chart, QStringLiteral("Distance to the nearest other species"), 0, highest, Qt::AlignLeft);
    const double end = std::max(x->max(), y->max());
    x->setMax(end);
    y->setMax(end);
    line->append(0, 0);
    line->append(end, end);
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{species, line, nearer}) Attach(series, x, y);
    if (labels.size() > kMostLabels) labels.resize(kMostLabels);
    const QScatterSeries probe;
    const QFontMetricsF metrics(probe.pointLabelsFont());
    std::vector<PlotLabel> boxes;
    for (const Labelled& label : labels)
        boxes.push_back({label.at.x() / end, label.at.y() / end,
                         (metrics.horizontalAdvance(label.name) + 4) / kPlotArea.width(),
                         (metrics.height() + 2) / kPlotArea.height()});
    const auto lifts = PlaceLabels(boxes);
    std::size_t left = 0;
    for (std::size_t l = 0; l < labels.size(); ++l) {
        if (!lifts[l]) {
            ++left;
            continue;
        }
        auto* one = Points(labels[l].name, Qt::transparent, 1);
        one->append(labels[l].at + QPointF(0, *lifts[l] * end));
        one->setPointLabelsFormat(labels[l].name);
        one->setPointLabelsVisible(true);
        one->setPointLabelsClipping(false);
        chart->addSeries(one);
        Attach(one, x, y);
        for (QLegendMarker* marker : chart->legend()->markers(one)) marker->setVisible(false);
    }
    if (left > 0)
        chart->setTitle(chart->title() + QStringLiteral(" (%1 of the names left out where they would cover others)").arg(left));
    return chart;
}

std::vector<std::optional<double>> PlaceLabels(const std::vector<PlotLabel>& labels) {
    struct Box {
        double left, right, bottom, top;
    };
    std::vector<Box> placed;
    // Boxes that only touch (to rounding) leave each other free.
    constexpr double kTouch = 1e-9;
    const auto free = [&placed](const Box& b) {
        for (const Box& p : placed)
            if (b.left < p.right - kTouch && p.left < b.right - kTouch && b.bottom < p.top - kTouch &&
                p.bottom < b.top - kTouch)
                return false;
        return true;
    };
    std::vector<std::optional<double>> lifts;
    for (const PlotLabel& label : labels) {
        std::optional<double> lift;
        for (const int steps : {0, 1, -1, 2, -2}) {
            const double bottom = label.y + steps * label.height;
            const Box box{label.x - label.width / 2, label.x + label.width / 2, bottom, bottom + label.height};
            if (bottom < 0 || !free(box)) continue;
            placed.push_back(box);
            lift = steps * label.height;
            break;
        }
        lifts.push_back(lift);
    }
    return lifts;
}

QChart* MakeGapHistogram(const GapAnalysis& analysis, std::optional<double> bestThreshold) {
    const GapHistogram& counts = analysis.Histogram();
    long long low = 0, high = 1;
    for (const auto* values : {&counts.intra, &counts.inter}) {
        if (values->empty()) continue;
        low = std::min(low, values->begin()->first);
        high = std::max(high, values->rbegin()->first);
    }
    // Bins of 1, 2 or 5 times a power of ten, whole thousandths since the distances have three places.
    const auto width = std::max<long long>(1, std::llround(AxisStep(static_cast<double>(high - low) / 1000, 40) * 1000));
    const auto binOf = [&](long long v) { return static_cast<std::size_t>((v - low) / width); };
    const std::size_t bins = binOf(high) + 1;
    QChart* chart = NewChart(QStringLiteral("Distances within and between species"));
    double tallest = 1;
    const auto outline = [&](const std::map<long long, std::size_t>& values, const QString& name, QColor colour) {
        std::vector<std::size_t> binned(bins, 0);
        std::size_t total = 0;
        for (const auto& [value, n] : values) {
            binned[binOf(value)] += n;
            total += n;
        }
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        const double start = static_cast<double>(low) / 1000, step = static_cast<double>(width) / 1000;
        upper->append(start, 0);
        for (std::size_t b = 0; b < bins; ++b) {
            upper->append(start + step * static_cast<double>(b), static_cast<double>(binned[b]));
            upper->append(start + step * static_cast<double>(b + 1), static_cast<double>(binned[b]));
            tallest = std::max(tallest, static_cast<double>(binned[b]));
        }
        upper->append(start + step * static_cast<double>(bins), 0);
        lower->append(start, 0);
        lower->append(start + step * static_cast<double>(bins), 0);
        auto* area = new QAreaSeries(upper, lower);
        // The area draws its two lines but does not own them.
        upper->setParent(area);
        lower->setParent(area);
        area->setName(QStringLiteral("%1 (%2 pairs)").arg(name).arg(total));
        colour.setAlpha(110);
        area->setColor(colour);
        area->setBorderColor(colour.darker(150));
        chart->addSeries(area);
        return area;
    };
    QAreaSeries* intra = outline(counts.intra, QStringLiteral("Within species"), QColor(60, 110, 180));
    QAreaSeries* inter = outline(counts.inter, QStringLiteral("Between species"), QColor(220, 140, 50));
    const double start = static_cast<double>(low) / 1000, end = static_cast<double>(low + width * static_cast<long long>(bins)) / 1000;
    QValueAxis* x = Axis(chart, QStringLiteral("Distance"), start, end, Qt::AlignBottom);
    QValueAxis* y = Axis(chart, QStringLiteral("Pairs"), 0, tallest, Qt::AlignLeft);
    y->setLabelFormat(QStringLiteral("%d"));
    Attach(intra, x, y);
    Attach(inter, x, y);
    if (bestThreshold) {
        auto* line = DashedLine(QStringLiteral("Threshold of least error %1").arg(*bestThreshold));
        line->append(*bestThreshold, 0);
        line->append(*bestThreshold, y->max());
        chart->addSeries(line);
        Attach(line, x, y);
    }
    return chart;
}

QChart* MakeSweepPlot(const std::vector<SweepCounts>& sweep) {
    QChart* chart = NewChart(QStringLiteral("Identification errors by threshold"));
    auto* falsePositive = new QBarSet(QStringLiteral("False positives"));
    auto* falseNegative = new QBarSet(QStringLiteral("False negatives"));
    falsePositive->setColor(QColor(200, 82, 62));
    falseNegative->setColor(QColor(150, 185, 220));
    auto* bins = new QBarCategoryAxis;
    double tallest = 1;
    for (const SweepCounts& counts : sweep) {
        falsePositive->append(static_cast<qreal>(counts.falsePositive));
        falseNegative->append(static_cast<qreal>(counts.falseNegative));
        bins->append(QString::fromStdString(DecimalText(counts.threshold)));
        tallest = std::max(tallest, static_cast<double>(counts.Error()));
    }
    auto* bars = new QStackedBarSeries;
    bars->append(falsePositive);
    bars->append(falseNegative);
    bars->setBarWidth(0.8);
    chart->addSeries(bars);
    // The bars stand on hidden bins; a value axis under them reads the thresholds.
    bins->setVisible(false);
    chart->addAxis(bins, Qt::AlignBottom);
    QValueAxis* y = Axis(chart, QStringLiteral("Records"), 0, tallest, Qt::AlignLeft);
    y->setLabelFormat(QStringLiteral("%d"));
    Attach(bars, bins, y);
    if (!sweep.empty()) {
        const auto value = [](const Fraction& f) {
            return static_cast<double>(f.numerator) / static_cast<double>(f.denominator);
        };
        const double first = value(sweep.front().threshold), last = value(sweep.back().threshold);
        const double half = sweep.size() > 1 ? (last - first) / static_cast<double>(sweep.size() - 1) / 2 : 0.0005;
        auto* x = new QValueAxis;
        x->setTitleText(QStringLiteral("Threshold"));
        x->setRange(first - half, last + half);
        x->setTickType(QValueAxis::TicksDynamic);
        x->setTickAnchor(0);
        x->setTickInterval(AxisStep(last - first + 2 * half, 8));
        x->setLabelFormat(QStringLiteral("%.4g"));
        chart->addAxis(x, Qt::AlignBottom);
    }
    return chart;
}

}  // namespace kadrel::ui
