#pragma once
#include <filesystem>
#include <string_view>

namespace kadrel {

// Where a write to `file` lands: an absolute, normalised path with every symbolic link on the
// way followed, a last one that points at a file still to be made included.
std::filesystem::path WrittenPath(const std::filesystem::path& file);

// Writes all of `text` to the open file `fd`; 0, or the system's error number.
int WriteAll(int fd, std::string_view text);

}  // namespace kadrel
