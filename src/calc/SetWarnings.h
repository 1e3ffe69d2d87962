#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kadrel {

// A '>' that does not begin a line still starts a record, but in real files it is nearly always
// part of a header ("S51-W<gv>1") that it has just cut in two: one record without a sequence and
// one that has lost its name. Said once per file: the first such line, the two records it makes
// and how many lines do it. `pieces` is the file's text cut at every '>'.
std::optional<std::string> InnerMarkerWarning(const std::filesystem::path& file,
                                              const std::vector<std::string>& pieces);

// Names held by more than one record, the first few of them: rows and tables cannot tell such
// records apart. `setName` says which set, as messages name it.
std::optional<std::string> DuplicateNamesWarning(const std::string& setName, const std::vector<std::string>& names);

}  // namespace kadrel
