#include "RecordFileName.h"

#include <map>
#include <set>

namespace lutrane {
namespace {

bool IsUnsafe(unsigned char c) {
    if (c < 0x20 || c == 0x7F) return true;
    switch (c) {
        case '/': case '\\': case ':': case '*': case '?':
        case '"': case '<': case '>': case '|':
            return true;
        default:
            return false;
    }
}

// Cuts to at most maxBytes without splitting a UTF-8 sequence.
std::string CutToBytes(std::string text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

std::string WithSuffix(const std::string& stem, int number) {
    std::string suffix(1, '_');
    suffix += std::to_string(number);
    return CutToBytes(stem, kMaxStemBytes - suffix.size()) + suffix;
}

}  // namespace

std::string SafeStem(std::string_view name, std::size_t recordNumber) {
    if (name.find_first_not_of(". \t") == std::string_view::npos) {
        return "record_" + std::to_string(recordNumber);
    }
    std::string stem(name);
    for (char& c : stem) {
        if (IsUnsafe(static_cast<unsigned char>(c))) c = '_';
    }
    if (stem.front() == '.') stem.front() = '_';
    return CutToBytes(std::move(stem), kMaxStemBytes);
}

std::vector<std::string> PlanStems(const std::vector<std::string>& wanted) {
    std::set<std::string> taken(wanted.begin(), wanted.end());
    std::set<std::string> given;
    std::map<std::string, int> nextNumber;  // where the search for a free suffix resumes
    std::vector<std::string> stems;
    stems.reserve(wanted.size());
    for (const std::string& stem : wanted) {
        std::string candidate = stem;
        if (given.count(candidate) != 0) {
            int& number = nextNumber.try_emplace(stem, 2).first->second;
            do {
                candidate = WithSuffix(stem, number++);
            } while (taken.count(candidate) != 0);
            taken.insert(candidate);
        }
        given.insert(candidate);
        stems.push_back(std::move(candidate));
    }
    return stems;
}

}  // namespace lutrane
