#include "align/tcoffee/WorkFolder.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kadrel {
namespace {

struct LiveFolders {
    std::mutex mutex;
    std::vector<std::filesystem::path> paths;
};

LiveFolders& Live() {
    static LiveFolders live;
    return live;
}

// The process a folder name "kadrel-PID-XXXXXX" belongs to; 0 for any other name.
pid_t OwnerOf(const std::string& name) {
    constexpr std::string_view prefix = "kadrel-";
    if (!name.starts_with(prefix) || name.size() < prefix.size() + 8) return 0;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    const auto dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || rest.size() - dash - 1 != 6) return 0;
    pid_t pid = 0;
    for (const char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 100000000) return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

bool ProcessGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

void WorkFolder::RemoveLeftovers(const std::filesystem::path& root) {
    std::error_code ec;
    for (auto entry = std::filesystem::directory_iterator(root, ec); !ec && entry != std::filesystem::directory_iterator();
         entry.increment(ec)) {
        const pid_t owner = OwnerOf(entry->path().filename().string());
        struct stat info {};
        if (owner == 0 || owner == ::getpid() || ::lstat(entry->path().c_str(), &info) != 0) continue;
        if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() || !ProcessGone(owner)) continue;
        std::error_code ignored;
        std::filesystem::remove_all(entry->path(), ignored);
    }
}

WorkFolder::WorkFolder(const std::filesystem::path& root) {
    {
        static std::mutex swept;
        static std::vector<std::filesystem::path> roots;
        const std::lock_guard lock(swept);
        if (std::find(roots.begin(), roots.end(), root) == roots.end()) {
            roots.push_back(root);
            RemoveLeftovers(root);
        }
    }
    std::string pattern = (root / ("kadrel-" + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(),
                                "cannot make a work folder in " + root.string());
    path_ = pattern;
    try {
        const std::lock_guard lock(Live().mutex);
        Live().paths.push_back(path_);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        throw;
    }
}

WorkFolder::~WorkFolder() {
    {
        const std::lock_guard lock(Live().mutex);
        std::erase(Live().paths, path_);
    }
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WorkFolder::RemoveAllNow() {
    const std::lock_guard lock(Live().mutex);
    for (const auto& path : Live().paths) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
}

}  // namespace kadrel
