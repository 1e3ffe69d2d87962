#include "SplitRun.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <system_error>

#include "FastaRecords.h"
#include "GzipText.h"
#include "NewFileWriter.h"
#include "RecordFileName.h"

namespace fs = std::filesystem;

namespace lutrane {
namespace {

struct PlannedFile {
    fs::path path;
    std::string text;
};

// The whole file as bytes, or nothing with `error` set. Lutrane links nothing of Kadrel, so it
// keeps this reader of its own.
std::optional<std::string> ReadInput(const fs::path& input, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(input, ec)) {
        error = "cannot read " + input.string() + ": it is a folder, not a file";
        return std::nullopt;
    }
    std::FILE* file = std::fopen(input.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot read " + input.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::string text;
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed) {
        error = "cannot read " + input.string() + ": " + std::strerror(readError);
        return std::nullopt;
    }
    if (IsGzip(text)) {
        std::string why;
        auto unpacked = Gunzip(text, why);
        if (!unpacked) {
            error = "cannot read " + input.string() + ": " + why + "; nothing was written";
            return std::nullopt;
        }
        text = std::move(*unpacked);
    }
    // Split, a binary file would make files named with its bytes; kadrel refuses it the same way.
    if (text.find('\0') != std::string::npos) {
        error = input.string() + ": not a FASTA text file (it holds binary data); nothing was written";
        return std::nullopt;
    }
    if (text.starts_with('@')) {
        error = input.string() + ": a FASTQ file (it begins with '@'), not FASTA; nothing was written. "
                                 "kadrel reads FASTQ as it is.";
        return std::nullopt;
    }
    return text;
}

// A name as a message shows it: a control character could move the terminal's cursor.
std::string Quoted(std::string name) {
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return '"' + name + '"';
}

std::string InnerMarkerNote(const fs::path& input, const InnerMarkers& inner,
                            const std::vector<FastaRecord>& records) {
    // Records counted from 1, as the renamed ones are.
    std::string note = input.string() + " line " + std::to_string(inner.firstLine) +
                       ": a '>' inside the line starts a new record there: record " +
                       std::to_string(inner.firstRecord) + " " + Quoted(records[inner.firstRecord - 1].name) +
                       " ends and record " + std::to_string(inner.firstRecord + 1) + " " +
                       Quoted(records[inner.firstRecord].name) + " begins";
    if (inner.count > 1) note += " (" + std::to_string(inner.count) + " lines of the file hold such a '>')";
    return note;
}

// A record that is not written under its own name, and why.
struct Planned {
    std::string input, name, stem, text;
    std::size_t number = 0;  // in its input, from 1
};

std::string RenameNote(const Planned& record, const std::string& stem) {
    const bool blank = record.stem == "record_" + std::to_string(record.number);
    const std::string why = stem != record.stem ? "another record is written as " + record.stem + ".fas"
                            : blank             ? "its name is blank or only dots"
                                                : "its name cannot be a file name as it stands";
    return record.input + ": record " + std::to_string(record.number) + " " + Quoted(record.name) + " is written as " +
           stem + ".fas (" + why + ")";
}

fs::path ShownFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path shown = fs::absolute(folder, ec).lexically_normal();
    if (ec) shown = folder;
    if (!shown.has_filename() && shown.has_relative_path()) shown = shown.parent_path();
    return shown;
}

// Makes the folder if needed and checks that files can be made in it.
std::string PrepareFolder(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (fs::exists(status)) {
        if (!fs::is_directory(status)) return folder.string() + " is not a folder";
    } else if (!fs::create_directories(folder, ec) && ec) {
        return "cannot make the folder " + folder.string() + ": " + ec.message();
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return "cannot write to the folder " + folder.string() + ": " + std::strerror(errno);
    }
    return {};
}

// A file (or link, even a broken one) already using a planned name.
std::string FindTakenNames(const std::vector<PlannedFile>& plan) {
    std::size_t taken = 0;
    std::string first;
    for (const PlannedFile& file : plan) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(file.path, ec))) {
            if (taken++ == 0) first = file.path.string();
        }
    }
    if (taken == 0) return {};
    std::string message = first + " already exists";
    if (taken > 1) message += " (and " + std::to_string(taken - 1) + " more of the names to write)";
    return message + "; nothing was written. Move those files away or split into another folder.";
}

// The folders that making `folder` creates, deepest first.
std::vector<fs::path> MissingFolders(const fs::path& folder) {
    std::vector<fs::path> missing;
    std::error_code ec;
    for (fs::path p = folder; !p.empty() && !fs::exists(fs::symlink_status(p, ec)); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    return missing;
}

// Takes back what a split made: its files, then the folders it made, where they are empty again.
std::string Undo(const std::vector<fs::path>& written, const std::vector<fs::path>& madeFolders) {
    std::size_t kept = 0;
    std::error_code ec;
    for (const fs::path& file : written) kept += fs::remove(file, ec) ? 0 : 1;
    for (const fs::path& folder : madeFolders) fs::remove(folder, ec);
    const std::size_t n = written.size();
    if (n == 0) return "nothing was written";
    if (kept > 0) return std::to_string(kept) + " of the " + std::to_string(n) + " files already written could not be removed";
    return n == 1 ? "the 1 file already written was removed"
                  : "the " + std::to_string(n) + " files already written were removed";
}

}  // namespace

std::string WrittenMessage(std::size_t filesWritten, const fs::path& folder) {
    return std::to_string(filesWritten) + " files written to " + folder.string();
}

SplitResult SplitFiles(const std::vector<fs::path>& inputs, const fs::path& folderAsGiven,
                       const std::function<bool()>& stopRequested) {
    const fs::path outputFolder = folderAsGiven.empty() ? fs::path(".") : folderAsGiven;
    SplitResult result;
    result.folder = ShownFolder(outputFolder);

    std::vector<Planned> records;
    for (const fs::path& input : inputs) {
        std::optional<std::string> text = ReadInput(input, result.error);
        if (!text) return result;
        std::vector<FastaRecord> cut = CutRecords(*text);
        if (cut.empty()) {
            result.error = input.string() + " holds no record (no \">\" in it); nothing was written";
            return result;
        }
        if (const InnerMarkers inner = FindInnerMarkers(*text); inner.count > 0)
            result.notes.push_back(InnerMarkerNote(input, inner, cut));
        for (std::size_t k = 0; k < cut.size(); ++k)
            records.push_back({input.string(), cut[k].name, SafeStem(cut[k].name, k + 1), std::move(cut[k].text), k + 1});
    }
    std::vector<std::string> wanted;
    wanted.reserve(records.size());
    for (const Planned& record : records) wanted.push_back(record.stem);
    const std::vector<std::string> stems = PlanStems(wanted);
    std::vector<PlannedFile> plan;
    plan.reserve(records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
        if (stems[r] != records[r].name) result.notes.push_back(RenameNote(records[r], stems[r]));
        plan.push_back({outputFolder / (stems[r] + ".fas"), std::move(records[r].text)});
    }
    const std::vector<fs::path> madeFolders = MissingFolders(outputFolder);
    result.error = PrepareFolder(outputFolder);
    if (result.error.empty()) result.error = FindTakenNames(plan);
    if (!result.error.empty()) {
        Undo({}, madeFolders);
        return result;
    }

    std::vector<fs::path> written;
    for (std::size_t k = 0; k <= plan.size() && result.error.empty(); ++k) {
        if (stopRequested && stopRequested()) {
            result.interrupted = true;
            result.error = "interrupted";
        } else if (k < plan.size()) {
            result.error = WriteNewFile(plan[k].path, plan[k].text);
            if (result.error.empty()) written.push_back(plan[k].path);
        }
    }
    if (!result.error.empty()) {
        result.error += "; " + Undo(written, madeFolders);
        return result;
    }
    result.filesWritten = written.size();
    return result;
}

}  // namespace lutrane
