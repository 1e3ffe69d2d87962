#include "calc/IdentifyFiles.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>

#include "align/TextFile.h"
#include "calc/ReportHeader.h"

namespace kadrel {
namespace {

constexpr std::string_view kCommentStart = "# max-distance=";
constexpr std::string_view kStoppedStart = "# stopped before the end: ";

// The lines of a file, each with whether it ended in LF, and the bytes read so far.
class Lines {
public:
    Lines(const std::filesystem::path& file) : file_(file), in_(file, std::ios::binary) {
        if (!in_) throw IdentifyFilesError(QuotedPath(file) + " cannot be read (" + std::strerror(errno) + ")");
    }
    // False at the end; `whole` false for a last line without its LF.
    bool Next(std::string& line, bool& whole) {
        if (!std::getline(in_, line)) {
            if (in_.bad()) throw IdentifyFilesError("reading " + QuotedPath(file_) + " failed");
            return false;
        }
        whole = !in_.eof();
        read_ += line.size() + (whole ? 1 : 0);
        ++number_;
        return true;
    }
    std::uint64_t Read() const { return read_; }
    std::size_t Number() const { return number_; }

private:
    std::filesystem::path file_;
    std::ifstream in_;
    std::uint64_t read_ = 0;
    std::size_t number_ = 0;
};

std::string_view FirstField(std::string_view line) { return line.substr(0, line.find('\t')); }

std::optional<std::size_t> Field(std::string_view line, std::size_t index) {
    for (; index != 0; --index) {
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos) return std::nullopt;
        line.remove_prefix(tab + 1);
    }
    line = FirstField(line);
    if (line.empty() || line.size() > 18 || line.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return std::stoull(std::string(line));
}

// The rule and the tag of a comment line; the tag empty when it has none.
std::pair<std::string_view, std::string_view> RuleAndTag(std::string_view comment) {
    const auto open = comment.rfind(" [");
    if (!comment.ends_with(']') || open == std::string_view::npos) return {comment, {}};
    return {comment.substr(0, open), comment.substr(open + 1)};
}

std::string WhatRun(std::string_view tag) {
    std::string banner(1, ' ');  // appended, as "+" trips GCC 12's -Wrestrict here
    const auto shard = ReadShardTag(banner.append(tag));
    if (!shard) return "the whole run";
    return "shard " + std::to_string(shard->index) + "/" + std::to_string(shard->count);
}

void CheckHeader(Lines& lines, const std::filesystem::path& file, std::string_view comment, std::string_view titles) {
    const auto fail = [&](const std::string& problem) { return IdentifyFilesError(QuotedPath(file) + " " + problem); };
    std::string line;
    bool whole = false;
    if (!lines.Next(line, whole) || !whole) throw fail("is not a table of 'kadrel identify' (it holds no whole line)");
    if (const std::string problem = CommentLineProblem(line, comment); !problem.empty()) throw fail(problem);
    if (!lines.Next(line, whole) || !whole || line + "\n" != titles)
        throw fail("does not hold the column titles of this command on its second line (another -m, or not a table of "
                   "'kadrel identify')");
}

}  // namespace

std::string IdentifyStoppedLine(std::size_t done, std::size_t total) {
    return std::string(kStoppedStart) + std::to_string(done) + " of " + std::to_string(total) +
           " queries identified; go on with --resume\n";
}

bool IsIdentifyStoppedLine(std::string_view line) { return line.starts_with(kStoppedStart); }

std::string IdentifyCommentLine(std::string_view rule, std::string_view tag) {
    return std::string(rule) + " " + std::string(tag) + "\n";
}

std::string CommentLineProblem(std::string_view found, std::string_view expected) {
    if (found == expected) return {};
    if (!found.starts_with(kCommentStart))
        return "is not a table of 'kadrel identify' (its first line is not the comment line of its rule)";
    const auto [foundRule, foundTag] = RuleAndTag(found);
    const auto [rule, tag] = RuleAndTag(expected);
    if (foundRule != rule)
        return "was made with \"" + std::string(foundRule.substr(2)) + "\" where this command has \"" +
               std::string(rule.substr(2)) + "\": the thresholds, the hit rule, the aligner or the model differ";
    if (foundTag.empty())
        return "carries no mark of its run (written by an older Kadrel), so it cannot be checked against this command";
    if (WhatRun(foundTag) != WhatRun(tag))
        return "holds " + WhatRun(foundTag) + " where this command asks for " + WhatRun(tag) + " (--shard)";
    return "is of another run: other queries or references, another order of their records, or another taxonomy "
           "than this command's";
}

std::string FirstLine(const std::filesystem::path& file) {
    Lines lines(file);
    std::string line;
    bool whole = false;
    lines.Next(line, whole);
    return line;
}

namespace {

// The file's first bytes, up to `most`; nullopt when it cannot be opened.
std::optional<std::string> FirstBytes(const std::filesystem::path& file, std::size_t most) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(most, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(most));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Whether `file` holds the start of the header (the comment and titles lines) and nothing else,
// or with `linesAfter`, whatever follows a whole header; nullopt when it cannot be opened.
std::optional<bool> HeaderBegun(const std::filesystem::path& file, std::string_view comment, std::string_view titles,
                                bool linesAfter) {
    std::string header(comment);
    header.append(1, '\n').append(titles);
    const auto begun = FirstBytes(file, header.size() + (linesAfter ? 0 : 1));
    if (!begun) return std::nullopt;
    return begun->size() <= header.size() && header.starts_with(*begun);
}

}  // namespace

bool IdentifyTablesNotBegun(const std::filesystem::path& summary, const std::filesystem::path& hits,
                            const IdentifyTablesShape& shape) {
    if (!HeaderBegun(summary, shape.comment, shape.summaryTitles, false).value_or(false)) return false;
    return hits.empty() || HeaderBegun(hits, shape.comment, shape.hitTitles, true).value_or(true);
}

IdentifyTablesRead ReadIdentifyTables(const std::filesystem::path& summary, const std::filesystem::path& hits,
                                      const IdentifyTablesShape& shape) {
    IdentifyTablesRead read;
    // The column that counts a query's hits, wherever the model's column puts it.
    std::size_t hitsColumn = 0;
    for (std::string_view titles = shape.summaryTitles; FirstField(titles) != "hits" && titles.find('\t') != titles.npos;
         ++hitsColumn)
        titles.remove_prefix(titles.find('\t') + 1);
    // A summary not begun yet is no fault of its own (a run killed before its first line): then
    // the hits file beside it is what is not of this run, and the refusal names that file.
    if (!hits.empty() && HeaderBegun(summary, shape.comment, shape.summaryTitles, false).value_or(false)) {
        Lines lines(hits);
        CheckHeader(lines, hits, shape.comment, shape.hitTitles);
    }
    // How many hits each whole summary line counts, to find them in the hits file.
    std::vector<std::uint64_t> counts;
    {
        const auto fail = [&](const std::string& problem) { return IdentifyFilesError(QuotedPath(summary) + " " + problem); };
        Lines lines(summary);
        CheckHeader(lines, summary, shape.comment, shape.summaryTitles);
        read.summaryBytes = lines.Read();
        read.whole = true;
        std::string line;
        for (bool whole = false; lines.Next(line, whole);) {
            if (!whole) {
                read.whole = false;  // cut short by a kill or a full disk: done again
                break;
            }
            if (read.stopped) throw fail("goes on after the line that says it was stopped");
            if (IsIdentifyStoppedLine(line)) {
                read.stopped = true;
                continue;
            }
            const std::string where = "line " + std::to_string(lines.Number());
            if (read.queries == shape.queries.size()) throw fail("holds more lines than this command has queries");
            const auto count = Field(line, hitsColumn);
            if (FirstField(line) != shape.queries[read.queries] || !count)
                throw fail(where + " is not the summary of query \"" + shape.queries[read.queries] +
                           "\", the one this command has there (other queries, or another order?)");
            counts.push_back(*count);
            read.hits += *count;
            ++read.queries;
            read.summaryBytes = lines.Read();
        }
    }
    if (hits.empty()) return read;
    const auto fail = [&](const std::string& problem) { return IdentifyFilesError(QuotedPath(hits) + " " + problem); };
    Lines lines(hits);
    CheckHeader(lines, hits, shape.comment, shape.hitTitles);
    std::string line;
    bool whole = false;
    for (std::size_t q = 0; q < counts.size(); ++q)
        for (std::uint64_t h = 0; h < counts[q]; ++h) {
            if (!lines.Next(line, whole) || !whole || IsIdentifyStoppedLine(line))
                throw fail("holds fewer hits than " + QuotedPath(summary) + " counts: the two are not of one run");
            if (FirstField(line) != shape.queries[q])
                throw fail("line " + std::to_string(lines.Number()) + " is not a hit of query \"" + shape.queries[q] +
                           "\", as " + QuotedPath(summary) + " has it there");
        }
    read.hitsBytes = lines.Read();
    // Beyond: the hits of a query whose summary line was not written, or the stopped line.
    if (lines.Next(line, whole) && !(whole && IsIdentifyStoppedLine(line) && !lines.Next(line, whole))) read.whole = false;
    return read;
}

}  // namespace kadrel
