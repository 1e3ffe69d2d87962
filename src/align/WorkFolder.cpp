#include "align/WorkFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace kadrel {

WorkFolder::WorkFolder(const std::filesystem::path& root) {
    std::string pattern = (root / "kadrel-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(),
                                "cannot make a work folder in " + root.string());
    path_ = pattern;
}

WorkFolder::~WorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace kadrel
