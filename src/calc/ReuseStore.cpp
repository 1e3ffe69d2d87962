#include "calc/ReuseStore.h"

#include "align/AlignerInput.h"

namespace kadrel {

namespace {

// The sequence lines of a record without white space: two records with the same are one sequence.
std::string SequenceKey(std::string_view recordText) {
    std::string key;
    for (const char c : SequenceLines(recordText)) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') key += c;
    }
    return key;
}

}  // namespace

std::uint32_t SequenceIds::IdOf(std::string_view recordText, bool lasting) {
    const std::string key = SequenceKey(recordText);
    const std::size_t hash = std::hash<std::string>{}(key);
    for (auto [at, end] = ids_.equal_range(hash); at != end; ++at)
        if (SequenceKey(texts_[at->second]) == key) return at->second;
    const auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(lasting ? recordText : std::string_view(owned_.emplace_back(recordText)));
    ids_.emplace(hash, id);
    return id;
}

}  // namespace kadrel
