#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace kadrel {

// Kadrel's one whole-file reader (sets, alignments made earlier, the aligner's output); it lives
// in align, the bottom layer of the core, so that every layer can use it. The whole content of a
// file, byte for byte but for a leading UTF-8 byte-order mark; a gzip stream (known by its first
// two bytes) is read through zlib. No value when it cannot be read or its gzip data are corrupt
// or cut short, with the reason in `error`.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::string& error);

// The path in double quotes, as messages name files.
std::string QuotedPath(const std::filesystem::path& path);

}  // namespace kadrel
