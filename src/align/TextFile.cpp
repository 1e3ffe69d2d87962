#include "align/TextFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace kadrel {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        error = "it is a folder, not a file";
        return std::nullopt;
    }
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = errno != 0 ? std::strerror(errno) : "cannot be opened";
        return std::nullopt;
    }
    std::string text;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        error = "read error";
        return std::nullopt;
    }
    // Some editors start a UTF-8 file with a byte-order mark; it is no part of the text.
    if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
    return text;
}

std::string QuotedPath(const std::filesystem::path& path) {
    std::string quoted(1, '"');
    quoted += path.string();
    quoted += '"';
    return quoted;
}

}  // namespace kadrel
