#include "align/tcoffee/WorkFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <string>
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

}  // namespace

WorkFolder::WorkFolder(const std::filesystem::path& root) {
    std::string pattern = (root / "kadrel-XXXXXX").string();
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
