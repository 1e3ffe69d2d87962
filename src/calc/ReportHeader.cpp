#include "calc/ReportHeader.h"

#include <ctime>

#include "distances/PairRow.h"

namespace kadrel {
namespace {

constexpr std::string_view kBannerStart = "Comparisons by Orvo   ";
constexpr std::string_view kShardTagStart = " [shard ";
constexpr std::string_view kStoppedStart = "Stopped before the end: ";
constexpr std::string_view kTextbookMark = " (textbook formulas)";

// The whole number of `text`, which must be nothing else; none otherwise.
std::optional<std::size_t> WholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::size_t value = 0;
    for (const char c : text) value = value * 10 + static_cast<std::size_t>(c - '0');
    return value;
}

}  // namespace

bool StartsAsReport(std::string_view text) { return text.starts_with(kBannerStart); }

bool HasTextbookMark(std::string_view banner) {
    return BannerWithoutShardTag(banner).ends_with(kTextbookMark);
}

std::string ShardTagText(const ShardTag& tag) {
    return std::string(kShardTagStart.substr(1)) + std::to_string(tag.index) + "/" + std::to_string(tag.count) +
           " of run " + tag.run + "]";
}

std::optional<ShardTag> ReadShardTag(std::string_view banner) {
    const auto start = banner.rfind(kShardTagStart);
    if (start == std::string_view::npos || !banner.ends_with(']')) return std::nullopt;
    std::string_view rest = banner.substr(start + kShardTagStart.size());
    rest.remove_suffix(1);
    const auto slash = rest.find('/'), of = rest.find(" of run ");
    if (slash == std::string_view::npos || of == std::string_view::npos || slash > of) return std::nullopt;
    const auto index = WholeNumber(rest.substr(0, slash)), count = WholeNumber(rest.substr(slash + 1, of - slash - 1));
    const std::string_view run = rest.substr(of + 8);
    if (!index || !count || run.size() != 16 || run.find_first_not_of("0123456789abcdef") != std::string_view::npos)
        return std::nullopt;
    return ShardTag{*index, *count, std::string(run)};
}

std::string_view BannerWithoutShardTag(std::string_view banner) {
    return ReadShardTag(banner) ? banner.substr(0, banner.rfind(kShardTagStart)) : banner;
}

std::string StoppedLine(std::size_t pairsDone, std::size_t pairsInRun) {
    return std::string(kStoppedStart) + std::to_string(pairsDone) + " of " + std::to_string(pairsInRun) +
           " pairs compared\r\n";
}

bool IsStoppedLine(std::string_view line) { return line.starts_with(kStoppedStart); }

std::string WriteReportHeader(DistanceModel model, std::string_view bannerDate, bool textbook,
                              std::string_view shardTag) {
    std::string header(kBannerStart);
    header += bannerDate;
    header += "     Kadrel ";
    header += KADREL_VERSION;
    if (textbook) header += kTextbookMark;
    if (!shardTag.empty()) header.append(" ").append(shardTag);
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
