#pragma once
#include <filesystem>

namespace kadrel {

// A private folder (mode 0700, unique name "kadrel-PID-XXXXXX") made under `root`, removed with
// its content when the object goes. A process killed outright (kill -9, the kernel short of
// memory) cannot remove its own, so the first folder made under a root also removes the ones
// there whose process is gone; other users' folders, and those of a live process, stay.
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

    // The leftovers under root of processes that are gone, as the constructor removes them.
    static void RemoveLeftovers(const std::filesystem::path& root);

private:
    std::filesystem::path path_;
};

}  // namespace kadrel
