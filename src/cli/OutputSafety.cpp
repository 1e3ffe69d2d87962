#include "cli/OutputSafety.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "calc/OutputFiles.h"

namespace kadrel::cli {
namespace {
namespace fs = std::filesystem;

// A file as the system knows it: hard links and symbolic links to it share it, whatever the path.
struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};

std::optional<FileId> Identity(const fs::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return std::nullopt;
    return FileId{info.st_dev, info.st_ino};
}

// Standard output counts only when it is a regular file, the only kind a write could spoil.
std::optional<FileId> OutputIdentity(const std::string& output) {
    if (!output.empty()) return Identity(output);
    struct stat info {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileId{info.st_dev, info.st_ino};
}

// A file that does not exist yet is none of the sets' files, which all exist.
bool HoldsFile(const SequenceSet& set, const std::optional<FileId>& file) {
    if (!file) return false;
    if (set.source == SetSource::MultipleSequenceFile) return Identity(set.chosenFile) == file;
    return std::any_of(set.fileNames.begin(), set.fileNames.end(),
                       [&](const std::string& name) { return Identity(set.folderPath / name) == file; });
}

}  // namespace

bool SameFile(const fs::path& a, const fs::path& b) {
    const std::optional<FileId> idA = Identity(a), idB = Identity(b);
    if (idA && idB) return *idA == *idB;
    return WrittenPath(a) == WrittenPath(b);
}

std::optional<std::string> OutputProblem(const SequenceSet& set1, const SequenceSet& set2, const std::string& output,
                                         const std::string& backup) {
    const auto isSetFile = [&](const std::optional<FileId>& file) {
        return HoldsFile(set1, file) || HoldsFile(set2, file);
    };
    const std::optional<FileId> outputId = OutputIdentity(output);
    if (isSetFile(outputId)) {
        if (output.empty()) return "the standard output is a file of the sets; send the report elsewhere (-o FILE)";
        return "the output \"" + output + "\" would overwrite a file of the sets; choose another file";
    }
    if (backup.empty()) return std::nullopt;
    const std::optional<FileId> backupId = Identity(backup);
    if (isSetFile(backupId))
        return "the backup \"" + backup + "\" would overwrite a file of the sets; choose another file";
    // Files that exist are the same by identity; one still to be made by where it would land.
    const bool same = outputId && backupId ? *outputId == *backupId
                                           : !output.empty() && WrittenPath(output) == WrittenPath(backup);
    if (same)
        return "the backup and the output are the same file \"" + (output.empty() ? backup : output) +
               "\"; choose another backup (--backup FILE) or --no-backup";
    return std::nullopt;
}

}  // namespace kadrel::cli
