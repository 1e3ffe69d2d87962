#pragma once
#include <memory>

#include "calc/ReportSink.h"

class QObject;

namespace kadrel::ui {

// Hands what a run on another thread reports to a sink living on the thread of `context`, in
// the order of the calls. A fast aligner reports thousands of rows a second, more than that
// thread could take one event at a time: the text, the warnings and the latest progress are
// gathered and handed over together, at most every 50 ms. Flush hands over the rest at once (the
// run's end). Record ends are not handed over: the run writes its own backup. Hand-overs that
// come due after `context` is gone are dropped.
class QueuedReportSink : public ReportSink {
public:
    QueuedReportSink(QObject* context, ReportSink& target);

    void Append(std::string_view text) override;
    void RecordFinished(std::size_t index) override;
    void Progress(std::size_t pairsDone, std::size_t pairsTotal) override;
    void Warning(std::string_view message) override;
    void Flush();

private:
    struct Gathered;  // shared with the hand-overs still to come
    void Schedule();  // with the gathered text locked

    QObject* context_;
    std::shared_ptr<Gathered> gathered_;
};

}  // namespace kadrel::ui
