#include "calc/BackupWriter.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>

#include "calc/OutputFiles.h"

namespace kadrel {

BackupWriter::BackupWriter(std::filesystem::path file) : file_(std::move(file)), target_(WrittenPath(file_)) {}

BackupWriter::~BackupWriter() {
    if (fd_ >= 0) ::close(fd_);
}

bool BackupWriter::Commit() {
    if (failed_) return true;
    const std::string problem = fd_ < 0 ? Replace() : AppendPending();
    if (!problem.empty()) return Fail(problem);
    goodSize_ += static_cast<off_t>(pending_.size());
    pending_.clear();
    return true;
}

bool BackupWriter::GoOnAfter(off_t size) {
    const int fd = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Fail(std::strerror(errno));
    if (::ftruncate(fd, size) != 0 || ::lseek(fd, size, SEEK_SET) != size) {
        const int error = errno;
        ::close(fd);
        return Fail(std::strerror(error));
    }
    fd_ = fd;
    goodSize_ = size;
    return true;
}

namespace {

// A run killed between creating its temporary file and renaming it leaves ".NAME.PID.N" behind.
// Removed when its process is gone and it is old: a temporary file lives for one write and
// sync, so an hour leaves room for a slow disk, and for a process of the same number elsewhere
// on a shared folder.
void RemoveLeftovers(const std::filesystem::path& target) {
    std::string stem(1, '.');
    stem.append(target.filename().string()).append(1, '.');
    const auto oldest = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(target.parent_path().empty() ? "." : target.parent_path(), ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(stem)) continue;
        const std::string_view rest = std::string_view(name).substr(stem.size());
        const auto dot = rest.find('.');
        long pid = 0;
        unsigned attempt = 0;
        if (dot == std::string_view::npos ||
            std::from_chars(rest.data(), rest.data() + dot, pid).ptr != rest.data() + dot ||
            std::from_chars(rest.data() + dot + 1, rest.data() + rest.size(), attempt).ptr != rest.data() + rest.size() ||
            pid <= 0)
            continue;
        std::error_code fileError;
        if (!it->is_regular_file(fileError) || it->last_write_time(fileError) > oldest || fileError) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::filesystem::remove(it->path(), fileError);
    }
}

}  // namespace

std::string BackupWriter::Replace() {
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    // Renaming over a folder or a device (/dev/null) would not write a backup but remove them.
    if (exists && !S_ISREG(old.st_mode)) return "it is not a regular file";
    RemoveLeftovers(target_);
    // Hidden, so that a folder set read meanwhile does not take it for a record.
    std::string stem(1, '.');
    stem.append(target_.filename().string()).append(1, '.').append(std::to_string(::getpid())).append(1, '.');
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = target_.parent_path() / (stem + std::to_string(attempt));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return std::strerror(errno);
    }
    if (fd < 0) return std::strerror(EEXIST);
    if (exists) ::fchmod(fd, old.st_mode & 07777);  // the new backup keeps the old one's permissions
    int error = WriteAll(fd, pending_);
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), target_.c_str()) != 0) error = errno;
    if (error != 0) {
        ::close(fd);
        ::unlink(temp.c_str());
        return std::strerror(error);
    }
    fd_ = fd;
    return {};
}

// Not synced to disk: the system keeps the file should Kadrel end, and a sync at every record
// would slow a fast run down to the disk's pace.
std::string BackupWriter::AppendPending() {
    const int error = WriteAll(fd_, pending_);
    if (error == 0) return {};
    // Cut back to the last finished record.
    if (::ftruncate(fd_, goodSize_) != 0)
        return std::string(std::strerror(error)) + ", and it may end in an unfinished record";
    return std::strerror(error);
}

bool BackupWriter::Fail(const std::string& reason) {
    reason_ = reason;
    error_ = "cannot write the backup \"" + file_.string() + "\" (" + reason + "); the run goes on without it";
    failed_ = true;
    pending_.clear();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return false;
}

}  // namespace kadrel
