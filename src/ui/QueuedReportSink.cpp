#include "ui/QueuedReportSink.h"

#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kadrel::ui {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kGap = std::chrono::milliseconds(50);
}  // namespace

struct QueuedReportSink::Gathered {
    explicit Gathered(ReportSink& target) : target(target) {}

    // On the thread of the context.
    void HandOver() {
        std::string gatheredText;
        std::vector<std::string> gatheredWarnings;
        std::optional<std::pair<std::size_t, std::size_t>> gatheredProgress;
        {
            const std::lock_guard lock(mutex);
            gatheredText.swap(text);
            gatheredWarnings.swap(warnings);
            gatheredProgress = std::exchange(progress, std::nullopt);
            scheduled = false;
            lastHandOver = Clock::now();
        }
        if (!gatheredText.empty()) target.Append(gatheredText);
        for (const std::string& message : gatheredWarnings) target.Warning(message);
        if (gatheredProgress) target.Progress(gatheredProgress->first, gatheredProgress->second);
    }

    ReportSink& target;
    std::mutex mutex;
    std::string text;
    std::vector<std::string> warnings;
    std::optional<std::pair<std::size_t, std::size_t>> progress;
    bool scheduled = false;  // a hand-over is on its way
    Clock::time_point lastHandOver{};
};

// One hand-over at a time is on its way, due 50 ms after the one before: whatever comes
// meanwhile joins it.
void QueuedReportSink::Schedule() {
    if (gathered_->scheduled) return;
    gathered_->scheduled = true;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(gathered_->lastHandOver + kGap - Clock::now());
    QMetaObject::invokeMethod(context_, [context = context_, gathered = gathered_, wait] {
        if (wait.count() <= 0) gathered->HandOver();
        else QTimer::singleShot(wait, context, [gathered] { gathered->HandOver(); });
    }, Qt::QueuedConnection);
}

QueuedReportSink::QueuedReportSink(QObject* context, ReportSink& target)
    : context_(context), gathered_(std::make_shared<Gathered>(target)) {}

void QueuedReportSink::Append(std::string_view text) {
    const std::lock_guard lock(gathered_->mutex);
    gathered_->text += text;
    Schedule();
}

void QueuedReportSink::RecordFinished(std::size_t) {}

void QueuedReportSink::Progress(std::size_t pairsDone, std::size_t pairsTotal) {
    const std::lock_guard lock(gathered_->mutex);
    gathered_->progress.emplace(pairsDone, pairsTotal);
    Schedule();
}

void QueuedReportSink::Warning(std::string_view message) {
    const std::lock_guard lock(gathered_->mutex);
    gathered_->warnings.emplace_back(message);
    Schedule();
}

void QueuedReportSink::Flush() {
    QMetaObject::invokeMethod(context_, [gathered = gathered_] { gathered->HandOver(); }, Qt::QueuedConnection);
}

}  // namespace kadrel::ui
