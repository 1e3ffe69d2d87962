#pragma once
#include <filesystem>

namespace kadrel {

// Where a write to `file` lands: an absolute, normalised path with every symbolic link on the
// way followed, a last one that points at a file still to be made included.
std::filesystem::path WrittenPath(const std::filesystem::path& file);

}  // namespace kadrel
