#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/BackupWriter.h"
#include "cli/ReportOutput.h"

namespace kadrel::cli {

// Where a gap run keeps the lines of its pairs (GapShard.h) as it goes: a shard's --pairs file or
// standard output, or a whole run's backup. A file is written through BackupWriter, a record at a
// time, so that a kill or a full disk leaves it holding whole records for --resume to go on from.
class GapPairsKeeper {
public:
    // Empty: standard output.
    explicit GapPairsKeeper(const std::string& file);

    // Writes the first line, `header`; or, going on from the file, keeps its first `resumeAt`
    // bytes (its whole records) and writes after them. False when the file cannot be written.
    bool Start(const std::string& header, std::optional<std::uint64_t> resumeAt);
    // One record's line, LF included. False at the first write that fails: nothing more is
    // written, and the file keeps the records before it.
    bool Keep(std::string_view line);
    // The end or the stopped line, then standard output is closed; false as Keep.
    bool Finish(std::string_view line);

    // Why the file could not be written, as a backup's warning or the system's reason alone.
    std::string Warning() const { return writer_ ? writer_->Error() : out_->Problem(); }
    std::string Reason() const { return writer_ ? writer_->Reason() : out_->Problem(); }
    bool ReaderGone() const { return out_ && out_->ReaderGone(); }

private:
    std::optional<BackupWriter> writer_;
    std::optional<ReportOutput> out_;
};

}  // namespace kadrel::cli
