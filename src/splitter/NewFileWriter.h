#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace lutrane {

// Writes content to a file that must not exist yet. The text goes to a temporary file in
// the same folder first and only then gets its name, so a failed write never leaves a
// partial file under the target name, and an existing file is never replaced.
// Returns an empty string on success, otherwise a message naming the file and the problem.
std::string WriteNewFile(const std::filesystem::path& target, std::string_view content);

}  // namespace lutrane
