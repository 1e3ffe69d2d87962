#include "NewFileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace lutrane {
namespace {

std::string Problem(const std::filesystem::path& file, int error) {
    if (error == EEXIST) return file.string() + " already exists; it was left as it is";
    return "cannot write " + file.string() + ": " + std::strerror(error);
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates, writes, flushes to disk and closes a file that must not exist; removes it again on
// failure. The flush comes before the file gets its name, so a crash never leaves a name on an
// empty file.
int WriteExclusive(const std::filesystem::path& file, std::string_view content) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) ::unlink(file.c_str());
    return error;
}

// A hidden name of our own next to the target; retried by the caller while taken.
std::filesystem::path TemporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    return target.parent_path() /
           (".lutrane-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp");
}

}  // namespace

std::string WriteNewFile(const std::filesystem::path& target, std::string_view content) {
    std::filesystem::path temporary;
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temporary = TemporaryName(target);
        error = WriteExclusive(temporary, content);
    }
    // Every temporary name taken is not the target being taken: say which it is.
    if (error == EEXIST) return "cannot write " + target.string() + ": no free temporary name beside it";
    if (error != 0) return Problem(target, error);

    // link() gives the name only if it is free; rename() would replace a file.
    if (::link(temporary.c_str(), target.c_str()) == 0) {
        ::unlink(temporary.c_str());
        return {};
    }
    const int linkError = errno;
    ::unlink(temporary.c_str());
    if (linkError == EEXIST) return Problem(target, EEXIST);
    if (linkError != EPERM && linkError != ENOTSUP && linkError != EXDEV &&
        linkError != EMLINK) {
        return Problem(target, linkError);
    }
    // File systems without hard links (FAT, some network shares): create the name exclusively.
    error = WriteExclusive(target, content);
    return error == 0 ? std::string() : Problem(target, error);
}

}  // namespace lutrane
