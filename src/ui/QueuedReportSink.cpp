#include "ui/QueuedReportSink.h"

#include <QMetaObject>
#include <QObject>
#include <string>

namespace kadrel::ui {

QueuedReportSink::QueuedReportSink(QObject* context, ReportSink& target) : context_(context), target_(&target) {}

void QueuedReportSink::Append(std::string_view text) {
    QMetaObject::invokeMethod(context_, [target = target_, text = std::string(text)] { target->Append(text); },
                              Qt::QueuedConnection);
}

void QueuedReportSink::RecordFinished(std::size_t index) {
    QMetaObject::invokeMethod(context_, [target = target_, index] { target->RecordFinished(index); },
                              Qt::QueuedConnection);
}

void QueuedReportSink::Progress(std::size_t pairsDone, std::size_t pairsTotal) {
    QMetaObject::invokeMethod(context_, [target = target_, pairsDone, pairsTotal] {
        target->Progress(pairsDone, pairsTotal);
    }, Qt::QueuedConnection);
}

void QueuedReportSink::Warning(std::string_view message) {
    QMetaObject::invokeMethod(context_, [target = target_, message = std::string(message)] {
        target->Warning(message);
    }, Qt::QueuedConnection);
}

}  // namespace kadrel::ui
