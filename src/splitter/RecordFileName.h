#pragma once
#include <cstddef>
#include <vector>
#include <string>
#include <string_view>

namespace lutrane {

// Longest stem that still fits a 255-byte file name once ".fas" is added.
inline constexpr std::size_t kMaxStemBytes = 251;

// The file name stem for a record name: characters unsafe in a file name become "_",
// and so does a leading dot (a hidden file would be skipped by folder readers); a name
// that is blank (empty, or only blanks and dots) becomes "record_K" (K = recordNumber, counted
// from 1).
// The result never holds a path separator, so it cannot reach outside the output folder.
std::string SafeStem(std::string_view name, std::size_t recordNumber);

// Distinct stems for the stems wanted, in record order. The first record wanting a stem gets it;
// a later one gets the lowest "_2", "_3", ... that no record wants as its own, so a record really
// named "same_2" keeps its name whatever comes before it.
std::vector<std::string> PlanStems(const std::vector<std::string>& wanted);

}  // namespace lutrane
