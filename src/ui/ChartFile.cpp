#include "ui/ChartFile.h"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kadrel::ui {
namespace {

const QSize kPictureSize(900, 560);

}  // namespace

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts`.
double AxisStep(double span, double parts) {
    const double raw = std::max(span / parts, 1e-12);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (step * power >= raw) return step * power;
    }
    return 10 * power;
}

std::vector<std::string> PictureExtensions() {
    std::vector<std::string> extensions = {"svg"};
    for (const QByteArray& format : QImageWriter::supportedImageFormats())
        if (format != "svg") extensions.push_back(format.toStdString());
    std::sort(extensions.begin() + 1, extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    return extensions;
}

QString SaveChart(QChart* made, const QString& path) {
    std::unique_ptr<QChart> chart(made);
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool svg = suffix == QLatin1String("svg");
    const std::vector<std::string> kinds = PictureExtensions();
    if (std::find(kinds.begin(), kinds.end(), suffix.toStdString()) == kinds.end()) {
        QStringList named;
        for (const std::string& kind : kinds) named << QStringLiteral(".") + QString::fromStdString(kind);
        return QStringLiteral("\"%1\": a picture's name ends in one of %2").arg(path, named.join(QStringLiteral(" ")));
    }

    // A view of its own, never shown, lays the chart out at the picture's size.
    QChartView view(chart.release());
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

std::string DrawChartOffscreen(const std::function<QString()>& save) {
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
    return save().toStdString();
}

}  // namespace kadrel::ui
