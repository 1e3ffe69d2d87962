#include "calc/SequenceSet.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "align/TextFile.h"
#include "calc/FastqRecords.h"
#include "calc/GapShard.h"
#include "calc/ReportHeader.h"
#include "calc/SetWarnings.h"

namespace kadrel {
namespace fs = std::filesystem;

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// By name ignoring ASCII case; names equal but for case fall back to byte order.
bool ListingOrder(const std::string& a, const std::string& b) {
    const auto n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(LowerAscii(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<std::string> CutAtMarkers(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto marker = text.find('>', start);
        if (marker == std::string::npos) break;
        pieces.push_back(text.substr(start, marker - start));
        start = marker + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

// Names are written into tab-separated rows, where a tab or a line end would move the columns.
std::string WithoutControlCharacters(std::string name) {
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return name;
}

bool HoldsReport(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string start(64, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    return StartsAsReport(start) || StartsAsGapPairs(start);
}

// A backup or report of an earlier run may sit in a folder set: the default backup lands in the
// current folder, wherever that was. Known by its banner, not its name, it is never a record.
void LeaveOutReports(SequenceSet& set) {
    std::erase_if(set.fileNames, [&](const std::string& name) {
        const fs::path file = set.folderPath / name;
        if (!HoldsReport(file)) return false;
        set.warnings.push_back(QuotedPath(file) + " is a report or backup of Kadrel; it is not read as a record");
        return true;
    });
}

std::string HeaderName(const std::string& piece) {
    return WithoutControlCharacters(piece.substr(0, piece.find_first_of("\r\n")));
}

std::vector<std::string> ReadFastq(const fs::path& file, const std::string& text) {
    try {
        return FastqPieces(text);
    } catch (const std::runtime_error& e) {
        throw SetError(QuotedPath(file) + ": begins with '@' but is not a FASTQ file (" + e.what() + ")");
    }
}

}  // namespace

std::vector<std::string> ListFolder(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) throw SetError(QuotedPath(folder) + ": cannot read the folder (" + ec.message() + ")");
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) throw SetError(QuotedPath(folder) + ": cannot read the folder (" + ec.message() + ")");
        const auto name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        names.push_back(name);
    }
    if (ec) throw SetError(QuotedPath(folder) + ": cannot read the folder (" + ec.message() + ")");
    std::sort(names.begin(), names.end(), ListingOrder);
    return names;
}

SequenceSet ReadSequenceSet(int side, const fs::path& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status)) throw SetError(QuotedPath(path) + ": no such file or folder");
    return ReadSequenceSet(side, path,
                           fs::is_directory(status) ? SetSource::Folder
                                                    : SetSource::MultipleSequenceFile);
}

std::string RecordName(const SequenceSet& set, std::size_t index) {
    if (set.source == SetSource::Folder) return FolderRecordName(set.fileNames.at(index));
    return HeaderName(set.pieces.at(index + 1));
}

namespace {

void WarnOfDuplicateNames(SequenceSet& set) {
    std::vector<std::string> names;
    names.reserve(set.count);
    for (std::size_t r = 0; r < set.count; ++r) names.push_back(RecordName(set, r));
    const fs::path& path = set.source == SetSource::Folder ? set.folderPath : set.chosenFile;
    if (auto warning = DuplicateNamesWarning(QuotedPath(path), names)) set.warnings.push_back(std::move(*warning));
}

}  // namespace

SequenceSet ReadSequenceSet(int side, const fs::path& path, SetSource source) {
    SequenceSet set;
    set.side = side;
    set.source = source;
    if (source == SetSource::Folder) {
        set.folderPath = path;
        set.fileNames = ListFolder(path);
        LeaveOutReports(set);
        set.count = set.fileNames.size();
        WarnOfDuplicateNames(set);
        return set;
    }
    set.chosenFile = path;
    std::string error;
    const auto text = ReadWholeFile(path, error);
    if (!text) throw SetError(QuotedPath(path) + ": cannot read the file (" + error + ")");
    if (IsFastq(*text)) {
        set.pieces = ReadFastq(path, *text);
    } else {
        set.pieces = CutAtMarkers(*text);
        if (set.pieces.front().find_first_not_of(" \t\r\n\f\v") != std::string::npos)
            set.warnings.push_back(QuotedPath(path) + ": text before the first '>' ignored");
        if (auto warning = InnerMarkerWarning(path, set.pieces)) set.warnings.push_back(std::move(*warning));
    }
    set.count = set.pieces.size() - 1;
    WarnOfDuplicateNames(set);
    return set;
}

void RequireRecords(const SequenceSet& set) {
    const bool folder = set.source == SetSource::Folder;
    const std::string named =
        "set " + std::to_string(set.side) + " " + QuotedPath(folder ? set.folderPath : set.chosenFile) + ": ";
    if (folder) {
        if (set.count == 0)
            throw SetError(named + "no file to compare in the folder (hidden files, subfolders and Kadrel's "
                                   "reports and backups are left out)");
        return;
    }
    for (const std::string& piece : set.pieces)
        if (piece.find('\0') != std::string::npos) throw SetError(named + "not a FASTA text file (it holds binary data)");
    if (set.count != 0) return;
    if (set.pieces.front().empty()) throw SetError(named + "the file is empty");
    throw SetError(named + "no record in the file (no '>' starts one)");
}

std::string FolderRecordName(const std::string& fileName) {
    return WithoutControlCharacters(fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : fileName);
}

SequenceRecord LoadRecord(const SequenceSet& set, std::size_t index) {
    SequenceRecord record;
    if (set.source == SetSource::MultipleSequenceFile) {
        record.text = ">" + set.pieces.at(index + 1);
        record.name = RecordName(set, index);
        return record;
    }
    record.fileName = set.fileNames.at(index);
    record.name = FolderRecordName(record.fileName);
    std::string error;
    auto text = ReadWholeFile(set.folderPath / record.fileName, error);
    if (!text) throw SetError(QuotedPath(set.folderPath / record.fileName) + ": cannot read the file (" +
                              error + ")");
    record.text = std::move(*text);
    // A read file in a folder goes to the aligner as the FASTA record it stands for.
    if (IsFastq(record.text)) {
        const auto pieces = ReadFastq(set.folderPath / record.fileName, record.text);
        record.text.clear();
        for (std::size_t p = 1; p < pieces.size(); ++p) record.text += '>' + pieces[p];
    }
    return record;
}

bool SkippedPair(const SequenceSet& set1, std::size_t i, const SequenceSet& set2, std::size_t k) {
    return set1.source == SetSource::Folder && set2.source == SetSource::Folder &&
           set1.fileNames[i] == set2.fileNames[k];
}

}  // namespace kadrel
