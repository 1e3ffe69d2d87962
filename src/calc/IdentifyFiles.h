#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// The summary and hits files of `kadrel identify`, as --resume and --join read them back. Each
// begins with the comment line, "# RULE TAG" (RULE: HitRule::CommentLine's text; TAG: BackupTag's
// "[run HEX]", or "[shard K/N of run HEX]" for a shard), and the column titles. A query's hits are
// written, and flushed, before its summary line, so the summary is always a whole prefix of the
// queries and the hits file holds at least their hits. A run stopped before its end closes both
// with the IdentifyStoppedLine; a killed one just ends early.

// A file that is not what the resume or the join needs; the message begins with its quoted name.
class IdentifyFilesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "# stopped before the end: D of T queries identified; go on with --resume", LF included.
std::string IdentifyStoppedLine(std::size_t done, std::size_t total);
bool IsIdentifyStoppedLine(std::string_view line);

// The comment line a run writes: its rule and tag, LF included.
std::string IdentifyCommentLine(std::string_view rule, std::string_view tag);

// What differs between a file's comment line `found` and the one this command writes, `expected`
// (both without their LF), in words that follow the file's name; empty when they are the same.
std::string CommentLineProblem(std::string_view found, std::string_view expected);

// The first line of `file` without its LF; empty when there is none. Throws IdentifyFilesError
// when the file cannot be read.
std::string FirstLine(const std::filesystem::path& file);

// What to find in a summary (and hits file): the comment line without its LF, the two title
// lines with theirs, and the query ids (as the tables write them) the lines must name, in order.
struct IdentifyTablesShape {
    std::string comment, summaryTitles, hitTitles;
    std::vector<std::string> queries;
};

// How much of the queries a summary and its hits file hold.
struct IdentifyTablesRead {
    std::size_t queries = 0;         // whole summary lines
    std::uint64_t summaryBytes = 0;  // the header and those lines
    std::uint64_t hitsBytes = 0;     // the header and those queries' hits
    std::uint64_t hits = 0;          // hit lines of those queries
    bool stopped = false;            // the summary ends in the stopped line
    bool whole = false;              // nothing follows those lines in either file but the stopped line
};

// Reads `summary`, and `hits` unless empty, as the tables of `shape`. Throws IdentifyFilesError
// for another comment line (CommentLineProblem), other titles, a line that names another query
// than the next one, more lines than queries, or a hits file that holds fewer hits than the
// summary counts. A last line cut short, and hits beyond the summary's, are left out of the
// bytes kept.
IdentifyTablesRead ReadIdentifyTables(const std::filesystem::path& summary, const std::filesystem::path& hits,
                                      const IdentifyTablesShape& shape);

// Whether a run killed before it finished a single query left these files: the summary a
// beginning of its header (it may be empty), and the hits file (unless not asked for) missing, a
// beginning of its header, or a file that starts with it. Such a run is begun again; nothing in the
// files is lost by it. A missing summary is not a run to go on from.
bool IdentifyTablesNotBegun(const std::filesystem::path& summary, const std::filesystem::path& hits,
                            const IdentifyTablesShape& shape);

}  // namespace kadrel
