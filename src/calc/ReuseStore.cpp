#include "calc/ReuseStore.h"

#include "align/AlignerInput.h"

namespace kadrel {

std::uint32_t SequenceIds::IdOf(std::string_view recordText) {
    std::string key;
    for (const char c : SequenceLines(recordText)) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') key += c;
    }
    const auto next = static_cast<std::uint32_t>(ids_.size());
    return ids_.try_emplace(std::move(key), next).first->second;
}

}  // namespace kadrel
