#include "ui/RunProgressText.h"

namespace kadrel::ui {

QString DurationText(std::chrono::milliseconds duration) {
    const long long seconds = (duration.count() + 999) / 1000;
    if (seconds < 60) return QStringLiteral("%1 s").arg(seconds);
    const long long minutes = (seconds + 30) / 60;
    if (minutes < 60) return QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString PairsDoneText(std::size_t pairsDone, std::size_t pairsTotal) {
    return QStringLiteral("%1 / %2 pairs").arg(pairsDone).arg(pairsTotal);
}

QString RunProgressText(std::size_t pairsDone, std::size_t pairsTotal, std::chrono::milliseconds elapsed) {
    const QString text = PairsDoneText(pairsDone, pairsTotal);
    if (pairsDone == 0 || pairsDone >= pairsTotal) return text;
    const double perPair = static_cast<double>(elapsed.count()) / static_cast<double>(pairsDone);
    const auto left = std::chrono::milliseconds(static_cast<long long>(perPair * static_cast<double>(pairsTotal - pairsDone)));
    return text + QStringLiteral(", about %1 left").arg(DurationText(left));
}

}  // namespace kadrel::ui
