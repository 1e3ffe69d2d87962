#pragma once
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace kadrel {

enum class SetSource { Folder, MultipleSequenceFile };

// One side's input, fixed at the start of a run.
struct SequenceSet {
    int side = 1;
    SetSource source = SetSource::Folder;
    std::filesystem::path folderPath;   // Folder
    std::filesystem::path chosenFile;   // MultipleSequenceFile
    std::vector<std::string> fileNames; // Folder: the listing, in listing order
    std::vector<std::string> pieces;    // MultipleSequenceFile: the text cut at every '>'
    std::size_t count = 0;
    std::vector<std::string> warnings;  // what reading it found that the user should hear of
};

struct SequenceRecord {
    std::string text;      // what the aligner gets
    std::string name;      // what the report shows: control characters are spaces
    std::string fileName;  // Folder only
};

// A set path that does not exist or cannot be read.
class SetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A folder becomes a folder set, a file a multiple-sequence file (FASTA, or FASTQ when it begins
// with '@'; either may be gzip-compressed). Throws SetError. A folder set leaves out, with a
// warning, every file that holds a report or backup of Kadrel (known by its banner). Warnings
// also name a '>' that does not begin a line and record names held by more than one record.
SequenceSet ReadSequenceSet(int side, const std::filesystem::path& path);
SequenceSet ReadSequenceSet(int side, const std::filesystem::path& path, SetSource source);

// Throws SetError, naming the set and what is wrong, when it holds no record to compare (an empty
// folder; an empty, binary or plain sequence file) or is not text at all.
void RequireRecords(const SequenceSet& set);

// The regular, non-hidden files of a folder, by name case-insensitively, ties by byte order.
std::vector<std::string> ListFolder(const std::filesystem::path& folder);

// A folder record's name: the file name less its last four characters (the usual ".fas"); a
// name of four characters or fewer stays whole. Control characters become spaces.
std::string FolderRecordName(const std::string& fileName);

// Between two folder sets, a file is not compared with the file of the same name.
bool SkippedPair(const SequenceSet& set1, std::size_t i, const SequenceSet& set2, std::size_t k);
// The name record `index` shows, without reading a folder set's file.
std::string RecordName(const SequenceSet& set, std::size_t index);

// Throws SetError when a folder file cannot be read.
SequenceRecord LoadRecord(const SequenceSet& set, std::size_t index);

}  // namespace kadrel
