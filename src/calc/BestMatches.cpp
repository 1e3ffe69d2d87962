#include "calc/BestMatches.h"

namespace kadrel {

void BestMatches::BeginRecord(std::string name) {
    entries_.push_back(Entry{std::move(name), 10, {}, {}, false});
}

void BestMatches::Offer(std::string_view secondName, const std::optional<double>& value,
                        std::string_view valueText) {
    if (entries_.empty() || !value) return;
    auto& entry = entries_.back();
    if (entry.best > *value) {
        entry.best = *value;
        entry.bestName = secondName;
        entry.bestText = valueText;
        entry.found = true;
    }
}

std::string BestMatches::Text() const {
    std::string text = "Best matches:\r\n";
    for (const auto& entry : entries_) {
        text += entry.name;
        text += '\t';
        text += entry.found ? entry.bestName : std::string();
        text += '\t';
        text += entry.found ? entry.bestText : std::string("NA");
        text += "\r\n";
    }
    return text;
}

}  // namespace kadrel
