#pragma once
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lutrane {

struct SplitResult {
    std::size_t filesWritten = 0;    // and kept: 0 whenever error is set
    bool interrupted = false;        // stopped on request; nothing was kept
    std::filesystem::path folder;    // the output folder as shown to the user
    // Worth telling once the files are written: a '>' inside a line, every record written under
    // another name than its own.
    std::vector<std::string> notes;
    std::string error;               // empty when every record was written
};

// Splits every input into one ".fas" file per record in outputFolder (made if missing).
// All inputs are read and all names planned before anything is written: an unreadable
// input, an input without a record, or a planned name that is already taken in the folder,
// writes nothing at all. Records of several inputs share one set of names, so none replaces
// another. All or nothing: when a file cannot be written, or stopRequested says so (asked
// before each file and once after the last), every file and folder this split made is removed.
SplitResult SplitFiles(const std::vector<std::filesystem::path>& inputs,
                       const std::filesystem::path& outputFolder,
                       const std::function<bool()>& stopRequested = {});

// "N files written to FOLDER"
std::string WrittenMessage(std::size_t filesWritten, const std::filesystem::path& folder);

}  // namespace lutrane
