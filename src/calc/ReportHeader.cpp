#include "calc/ReportHeader.h"

#include <ctime>

#include "distances/PairRow.h"

namespace kadrel {
namespace {

constexpr std::string_view kBannerStart = "Comparisons by Orvo   ";

}  // namespace

bool StartsAsReport(std::string_view text) { return text.starts_with(kBannerStart); }

std::string WriteReportHeader(DistanceModel model, std::string_view bannerDate, bool textbook) {
    textbook = textbook && model != DistanceModel::None;
    std::string header(kBannerStart);
    header += bannerDate;
    header += "     Kadrel ";
    header += KADREL_VERSION;
    if (textbook) header += " (textbook formulas)";
    header += "\r\n";
    header += ColumnTitleLine(model, textbook);
    return header;
}

std::string LocaleShortDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[128];
    const auto size = std::strftime(text, sizeof text, "%x %X", &local);
    return std::string(text, size);
}

}  // namespace kadrel
