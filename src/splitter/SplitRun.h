#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace lutrane {

struct SplitResult {
    std::size_t filesWritten = 0;
    std::filesystem::path folder;    // the output folder as shown to the user
    std::vector<std::string> notes;  // worth telling, not failures (an input without records)
    std::string error;               // empty when every record was written
};

// Splits every input into one ".fas" file per record in outputFolder (made if missing).
// All inputs are read and all names planned before anything is written: an unreadable
// input, or a planned name that is already taken in the folder, writes nothing at all.
// Records of several inputs share one set of names, so none replaces another.
SplitResult SplitFiles(const std::vector<std::filesystem::path>& inputs,
                       const std::filesystem::path& outputFolder);

// "N files written to FOLDER"
std::string WrittenMessage(std::size_t filesWritten, const std::filesystem::path& folder);

}  // namespace lutrane
