#include "cli/OutputSafety.h"

#include <algorithm>
#include <filesystem>

namespace kadrel::cli {
namespace fs = std::filesystem;

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

namespace {

// Whether writing `file` would overwrite the set's file or one of its folder's records.
bool HoldsFile(const SequenceSet& set, const fs::path& file) {
    if (set.source == SetSource::MultipleSequenceFile) return SameFile(file, set.chosenFile);
    const auto name = file.filename().string();
    if (std::find(set.fileNames.begin(), set.fileNames.end(), name) == set.fileNames.end()) return false;
    const auto folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    return SameFile(folder, set.folderPath);
}

}  // namespace

std::optional<std::string> OutputProblem(const SequenceSet& set1, const SequenceSet& set2, const std::string& output,
                                         const std::string& backup) {
    const auto isSetFile = [&](const fs::path& file) { return HoldsFile(set1, file) || HoldsFile(set2, file); };
    if (!output.empty() && isSetFile(output))
        return "the output \"" + output + "\" would overwrite a file of the sets; choose another file";
    if (!backup.empty()) {
        if (isSetFile(backup))
            return "the backup \"" + backup + "\" would overwrite a file of the sets; choose another file";
        if (!output.empty() && SameFile(backup, output))
            return "the backup and the output are the same file \"" + output +
                   "\"; choose another backup (--backup FILE) or --no-backup";
    }
    return std::nullopt;
}

}  // namespace kadrel::cli
