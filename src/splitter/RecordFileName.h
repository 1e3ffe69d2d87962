#pragma once
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace lutrane {

// Longest stem that still fits a 255-byte file name once ".fas" is added.
inline constexpr std::size_t kMaxStemBytes = 251;

// The file name stem for a record name: characters unsafe in a file name become "_",
// and so does a leading dot (a hidden file would be skipped by folder readers); a name
// that is empty or only dots becomes "record_K" (K = recordNumber, counted from 1).
// The result never holds a path separator, so it cannot reach outside the output folder.
std::string SafeStem(std::string_view name, std::size_t recordNumber);

// Hands out distinct stems within one split: a stem seen before gets "_2", "_3", ...
class StemRegistry {
public:
    std::string Claim(const std::string& stem);

private:
    std::set<std::string> used_;
    std::map<std::string, int> nextNumber_;  // where the search for a free suffix resumes
};

}  // namespace lutrane
