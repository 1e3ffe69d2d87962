#pragma once

#include "calc/ReportSink.h"

class QObject;

namespace kadrel::ui {

// Hands every call of a run on another thread to a sink living on the thread of `context`, in
// the order of the calls. Calls that arrive after `context` is gone are dropped.
class QueuedReportSink : public ReportSink {
public:
    QueuedReportSink(QObject* context, ReportSink& target);

    void Append(std::string_view text) override;
    void RecordFinished(std::size_t index) override;
    void Progress(std::size_t pairsDone, std::size_t pairsTotal) override;
    void Warning(std::string_view message) override;

private:
    QObject* context_;
    ReportSink* target_;
};

}  // namespace kadrel::ui
