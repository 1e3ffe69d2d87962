#pragma once
#include <filesystem>

namespace kadrel {

// A private folder (mode 0700, unique name) made under `root`, removed with its content when
// the object goes. Nothing outside it is touched.
class WorkFolder {
public:
    explicit WorkFolder(const std::filesystem::path& root);  // throws std::system_error
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

    // Removes every work folder of the process still in place, for a process about to end
    // without unwinding.
    static void RemoveAllNow();

private:
    std::filesystem::path path_;
};

}  // namespace kadrel
