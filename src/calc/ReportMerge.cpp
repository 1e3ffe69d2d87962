#include "calc/ReportMerge.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "align/TextFile.h"
#include "calc/ReportHeader.h"
#include "calc/ReportLines.h"

namespace kadrel {
namespace {

namespace fs = std::filesystem;

class FileLines {
public:
    explicit FileLines(const fs::path& file) : file_(file), in_(file, std::ios::binary) {
        if (!in_) throw MergeError(QuotedPath(file) + " cannot be read (" + std::strerror(errno) + ")");
    }

    bool Next(std::string& line) {
        if (!std::getline(in_, line)) {
            if (in_.bad()) throw MergeError("reading " + QuotedPath(file_) + " failed");
            return false;
        }
        ++number_;
        if (in_.eof()) unterminated_ = true;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }

    std::size_t Number() const { return number_; }
    bool Unterminated() const { return unterminated_; }
    std::streamoff Position() { return in_.tellg(); }
    void Seek(std::streamoff at) { in_.seekg(at); }

private:
    fs::path file_;
    std::ifstream in_;
    std::size_t number_ = 0;
    bool unterminated_ = false;
};

std::string ModelColumn(std::string_view titles) {
    const std::string_view last = titles.substr(titles.rfind('\t') + 1);
    return last.empty() ? "no model column" : "\"" + std::string(last) + "\"";
}

// Copies lines from `at` up to the "Best matches:" line or the end, with CR LF.
void CopyLines(const fs::path& file, std::streamoff at, const ReportMerge::Writer& write) {
    FileLines lines(file);
    lines.Seek(at);
    for (std::string line; lines.Next(line) && line != kBestMatchesLine;) write(line += "\r\n");
}

}  // namespace

ReportMerge::ReportMerge(std::vector<fs::path> reports) {
    for (fs::path& file : reports) {
        const auto fail = [&](const std::string& problem) { return MergeError(QuotedPath(file) + " " + problem); };
        FileLines lines(file);
        Report report;
        if (!lines.Next(report.banner) || !IsReportBanner(report.banner))
            throw fail("is not a Kadrel report (its first line is not a report's banner)");
        if (!lines.Next(report.titles) || !IsKnownColumnTitles(report.titles))
            throw fail("is not a Kadrel report (its second line holds no report's column titles)");
        if (!reports_.empty() && report.titles != reports_.front().titles)
            throw fail("has " + ModelColumn(report.titles) + " where " + QuotedPath(reports_.front().file) + " has " +
                       ModelColumn(reports_.front().titles) + ": reports of different models cannot be merged");
        // Without a model the titles are the same either way, but p is not.
        if (const bool textbook = HasTextbookMark(report.banner);
            !reports_.empty() && textbook != HasTextbookMark(reports_.front().banner))
            throw fail(std::string("holds the ") + (textbook ? "published" : "classic") + " formulas' values and " +
                       QuotedPath(reports_.front().file) + " the " + (textbook ? "classic" : "published") +
                       " ones (--textbook): they cannot be merged");
        order_.Check(ReadShardTag(report.banner), file);
        report.rows = lines.Position();
        ReportBodyReader body(*ReadReportColumns(report.titles));
        for (std::string line; lines.Next(line);) {
            const auto read = body.Read(line);
            if (read.kind == ReportBodyReader::Kind::Stopped) {
                throw fail("was stopped before the end (\"" + line + "\"); run that shard again to its end");
            } else if (read.kind == ReportBodyReader::Kind::BestMatchesStart) {
                report.bestMatches = lines.Position();
            } else if (read.kind == ReportBodyReader::Kind::Unknown) {
                throw fail("is not a whole Kadrel report: line " + std::to_string(lines.Number()) + " is not a " +
                           (body.InBestMatches() ? "best-match line" : "report row"));
            } else if (read.kind == ReportBodyReader::Kind::Row) {
                ++summary_.pairs;
                if (RowHoldsNA(read.fields)) ++summary_.pairsWithNA;
            }
        }
        const bool inBestMatches = body.InBestMatches();
        if (!inBestMatches) throw fail("is incomplete: it has no \"Best matches:\" line (did its run finish?)");
        if (lines.Unterminated()) throw fail("is incomplete: its last line is cut short");
        report.file = std::move(file);
        reports_.push_back(std::move(report));
    }
    order_.CheckComplete();
}

void ReportMerge::Write(const Writer& write) const {
    if (reports_.empty()) return;
    write(std::string(BannerWithoutShardTag(reports_.front().banner)) + "\r\n" + reports_.front().titles + "\r\n");
    for (const Report& report : reports_) CopyLines(report.file, report.rows, write);
    write(std::string(kBestMatchesLine) + "\r\n");
    for (const Report& report : reports_) CopyLines(report.file, report.bestMatches, write);
}

}  // namespace kadrel
