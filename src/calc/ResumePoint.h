#pragma once
#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/RunComparison.h"
#include "distances/PairRow.h"

namespace kadrel {

// A backup that cannot be gone on from in this run; the message says why. Nothing was written.
class ResumeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The "[run HEX]" or "[shard K/N of run HEX]" a backup's banner ends in: what the run stands for
// (RunFingerprint) and, for a shard, which one. A report's banner carries only a shard's.
std::string BackupTag(const SequenceSet& set1, const SequenceSet& set2, const RunOptions& options);

// What a backup of this run already holds: its banner (the report's, without the backup's tag)
// and titles, and the rows of the set-1 records it finished, as written.
struct ResumePoint {
    struct Row {
        std::string text;  // the report's line, CR LF included
        std::size_t second = 0;
        PairRow row;
    };
    std::string header;  // banner and column titles, CR LF each
    std::vector<std::vector<Row>> records;  // set-1 records from options.set1Begin on
};

// Whether `file` begins with the banner of a backup of this very run, its BackupTag, the check
// ReadResumePoint starts with; reads only that line, so that asking costs little whatever the backup.
bool IsBackupOfRun(const std::filesystem::path& file, const SequenceSet& set1, const SequenceSet& set2,
                   const RunOptions& options);

// Reads `backup` (the text of `file`) for the run of set1, set2 and options. Throws ResumeError
// when it is not a backup of this very run (other sets or order, model, formulas, shard, best
// matches or aligner), or does not end at the end of a set-1 record.
ResumePoint ReadResumePoint(const std::string& backup, const std::string& file, const SequenceSet& set1,
                            const SequenceSet& set2, const RunOptions& options);

}  // namespace kadrel
