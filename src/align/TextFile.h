#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace kadrel {

// Kadrel's one whole-file reader (sets, alignments made earlier, the aligner's output); it lives
// in align, the bottom layer of the core, so that every layer can use it. The whole content of a
// file, byte for byte but for a leading UTF-8 byte-order mark; no value when it cannot be read,
// with the reason in `error`.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::string& error);

// The path in double quotes, as messages name files.
std::string QuotedPath(const std::filesystem::path& path);

}  // namespace kadrel
