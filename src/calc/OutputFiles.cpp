#include "calc/OutputFiles.h"

#include <unistd.h>

#include <cerrno>

namespace kadrel {

std::filesystem::path WrittenPath(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path = fs::absolute(file, ec);
    // weakly_canonical resolves only what exists; a link to a new file is followed by hand. The
    // bound stops a loop of links, as the system would.
    for (int hops = 0; hops < 40; ++hops) {
        path = fs::weakly_canonical(path, ec);
        if (ec || !fs::is_symlink(fs::symlink_status(path, ec))) break;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) break;
        path = path.parent_path() / target;  // an absolute target replaces the folder
    }
    return path;
}

int WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written > 0) text.remove_prefix(static_cast<std::size_t>(written));
        else if (written == 0) return EIO;
        else if (errno != EINTR) return errno;
    }
    return 0;
}

}  // namespace kadrel
