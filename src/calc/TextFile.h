#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace kadrel {

// The whole content of a file, byte for byte; no value when it cannot be read, with the
// reason in `error`.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::string& error);

// The path in double quotes, as messages name files.
std::string QuotedPath(const std::filesystem::path& path);

}  // namespace kadrel
