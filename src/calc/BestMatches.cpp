#include "calc/BestMatches.h"

#include <algorithm>

#include "calc/ReportHeader.h"
#include "distances/NumberText.h"

namespace kadrel {
namespace {

// Only values below this are candidates.
constexpr double kLimit = 10;

}  // namespace

BestMatches::BestMatches(std::size_t count, bool ties) : count_(std::max<std::size_t>(count, 1)), ties_(ties) {}

void BestMatches::BeginRecord(std::string name) { entries_.push_back(Entry{std::move(name), {}}); }

void BestMatches::Offer(std::string_view secondName, const std::optional<double>& value) {
    if (entries_.empty() || !value || !(*value < kLimit)) return;
    auto& matches = entries_.back().matches;
    // The values are rounded as printed, so a tie is plain equality.
    if (matches.size() >= count_) {
        const double last = matches[count_ - 1].value;
        if (*value > last || (*value == last && !ties_)) return;
    }
    const auto at = std::upper_bound(matches.begin(), matches.end(), *value,
                                     [](double v, const Match& m) { return v < m.value; });
    matches.insert(at, Match{*value, std::string(secondName)});
    if (matches.size() <= count_) return;
    const double last = matches[count_ - 1].value;
    auto keep = matches.begin() + static_cast<std::ptrdiff_t>(count_);
    if (ties_) keep = std::find_if(keep, matches.end(), [&](const Match& m) { return m.value != last; });
    matches.erase(keep, matches.end());
}

std::string BestMatches::Text(std::string_view decimalSeparator) const {
    std::string text(kBestMatchesLine);
    text += "\r\n";
    for (const auto& entry : entries_) {
        if (entry.matches.empty()) {
            text += entry.name + "\t\tNA\r\n";
            continue;
        }
        for (const auto& match : entry.matches) {
            text += entry.name;
            text += '\t';
            text += match.name;
            text += '\t';
            text += NumberText(match.value, decimalSeparator);
            text += "\r\n";
        }
    }
    return text;
}

}  // namespace kadrel
