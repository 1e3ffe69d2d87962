#include "ui/DistanceChart.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QLineSeries>
#include <QPainter>
#include <QSaveFile>
#include <QStackedBarSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "calc/DistanceHistogram.h"

namespace kadrel::ui {
namespace {

const QSize kPictureSize(900, 560);

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

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts`.
double Step(double span, double parts) {
    const double raw = std::max(span / parts, 1e-12);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * power >= raw) return step * power;
    }
    return 10 * power;
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
    distance->setTickInterval(Step(end - histogram.start, 6));
    distance->setLabelFormat(QStringLiteral("%.4g"));
    chart->addAxis(distance, Qt::AlignBottom);
    auto* count = new QValueAxis;
    count->setTitleText(QStringLiteral("Pairs"));
    const double countStep = std::max(1.0, Step(static_cast<double>(highest), 6));
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

std::vector<std::string> PictureExtensions() {
    std::vector<std::string> extensions = {"svg"};
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        if (format != "svg") extensions.push_back(format.toStdString());
    std::sort(extensions.begin() + 1, extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    return extensions;
}

QString SaveDistanceChart(const ReportDistances& report, double threshold, const QString& path) {
    if (const auto nothing = NothingToDraw(report)) return QString::fromStdString(*nothing);
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool svg = suffix == QLatin1String("svg");
    const std::vector<std::string> kinds = PictureExtensions();
    if (std::find(kinds.begin(), kinds.end(), suffix.toStdString()) == kinds.end()) {
        QStringList named;
        for (const std::string& kind : kinds) named << QStringLiteral(".") + QString::fromStdString(kind);
        return QStringLiteral("\"%1\": a picture's name ends in one of %2").arg(path, named.join(QStringLiteral(" ")));
    }

    // A view of its own, never shown, lays the chart out at the picture's size.
    QChartView view(MakeDistanceChart(report, threshold));
    view.setFrameShape(QFrame::NoFrame);
    view.setRenderHint(QPainter::Antialiasing);
    view.resize(kPictureSize);
    QCoreApplication::sendPostedEvents();
    const auto draw = [&](QPaintDevice& device) {
        QPainter painter;
        if (!painter.begin(&device)) return false;
        painter.setRenderHint(QPainter::Antialiasing);
        static_cast<QWidget&>(view).render(&painter);
        return painter.end();
    };
    // Drawn in memory and then written as a whole, so that a failed write can say why: the
    // picture writers only know that they failed.
    QBuffer picture;
    picture.open(QIODevice::WriteOnly);
    if (svg) {
        QSvgGenerator generator;
        generator.setOutputDevice(&picture);
        generator.setSize(kPictureSize);
        generator.setViewBox(QRect(QPoint(0, 0), kPictureSize));
        generator.setTitle(view.chart()->title());
        if (!draw(generator)) return QStringLiteral("cannot draw the picture \"%1\"").arg(path);
    } else {
        QImage image(kPictureSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        draw(image);
        QImageWriter writer(&picture, suffix.toLatin1());
        if (!writer.write(image))
            return QStringLiteral("cannot draw the picture \"%1\": %2").arg(path, writer.errorString());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(picture.data()) != picture.data().size() || !file.commit())
        return QStringLiteral("cannot write \"%1\": %2").arg(path, file.errorString());
    return QString();
}

std::string DrawReportChart(const ReportDistances& report, double threshold, const std::string& path) {
    // Qt's own notes (a missing run-time folder and the like) mean nothing to the user of a
    // command; what goes wrong is told in our own words.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    std::unique_ptr<QApplication> app;
    if (QApplication::instance() == nullptr) {
        // The picture needs no screen; without a display Qt would otherwise abort.
        if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "kadrel";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    return SaveDistanceChart(report, threshold, QString::fromStdString(path)).toStdString();
}

}  // namespace kadrel::ui
