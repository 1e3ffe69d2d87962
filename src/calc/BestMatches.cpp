#include "calc/BestMatches.h"

#include "distances/NumberText.h"

namespace kadrel {
namespace {

// Only values below this are candidates.
constexpr double kLimit = 10;

}  // namespace

void BestMatches::BeginRecord(std::string name) {
    entries_.push_back(Entry{std::move(name), kLimit, {}});
}

void BestMatches::Offer(std::string_view secondName, const std::optional<double>& value) {
    if (entries_.empty() || !value) return;
    auto& entry = entries_.back();
    if (entry.best > *value) {
        entry.best = *value;
        entry.bestName = secondName;
    }
}

std::string BestMatches::Text(std::string_view decimalSeparator) const {
    std::string text = "Best matches:\r\n";
    for (const auto& entry : entries_) {
        text += entry.name;
        text += '\t';
        const bool found = entry.best < kLimit;
        text += found ? entry.bestName : std::string();
        text += '\t';
        text += found ? NumberText(entry.best, decimalSeparator) : std::string("NA");
        text += "\r\n";
    }
    return text;
}

}  // namespace kadrel
