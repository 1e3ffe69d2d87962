#include "calc/GapShard.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <cmath>
#include <fstream>
#include <limits>
#include <system_error>

#include "align/TextFile.h"
#include "calc/Shard.h"
#include "calc/ShardOrder.h"
#include "calc/TableText.h"

namespace kadrel {
namespace {

constexpr std::string_view kHeaderStart = "kadrel gap pairs: ";
constexpr std::string_view kEndStart = "end: ";

// A run's distances are finite (a model that gives none gives NA), so infinity is free to mean a
// pair not compared.
std::string Cell(double value) {
    if (std::isnan(value)) return "NA";
    if (std::isinf(value)) return "";
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

// A cell read back: NaN for NA, infinity for a pair not compared; none when it is not one
// GapShardLine writes.
std::optional<double> ReadCell(std::string_view text) {
    if (text.empty()) return std::numeric_limits<double>::infinity();
    if (text == "NA") return std::numeric_limits<double>::quiet_NaN();
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t tab = line.find('\t', at);
        fields.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
        if (tab == std::string_view::npos) return fields;
        at = tab + 1;
    }
}

}  // namespace

std::string GapPairsHeader(std::string_view about, std::string_view tag) {
    return std::string(kHeaderStart) + std::string(about) + " " + std::string(tag) + "\n";
}

std::string GapShardHeader(std::string_view about, const ShardTag& tag) { return GapPairsHeader(about, ShardTagText(tag)); }

std::string GapShardLine(std::size_t record, std::string_view id, const std::vector<double>& later) {
    std::string line = std::to_string(record + 1) + '\t' + TableName(id);
    for (const double value : later) (line += '\t') += Cell(value);
    return line += '\n';
}

std::string GapShardEnd(std::size_t records) { return std::string(kEndStart) + std::to_string(records) + " records\n"; }

std::string GapShardStopped(std::size_t pairsDone, std::size_t pairsInRun) {
    std::string line = StoppedLine(pairsDone, pairsInRun);  // a report's, with CR LF
    line.resize(line.find('\r'));
    return line += '\n';
}

bool StartsAsGapPairs(std::string_view text) { return text.starts_with(kHeaderStart); }

GapPairLines ReadGapPairLines(std::istream& in, const std::vector<std::string>& ids, std::size_t first,
                              std::size_t last, const GapRowReader& take) {
    const std::size_t n = ids.size();
    GapPairLines read;
    std::string line;
    std::vector<double> later;
    const auto nothingAfter = [&](const std::string& what) {
        if (in.peek() != std::char_traits<char>::eof()) throw GapPairsError("goes on after its " + what);
    };
    const auto offset = [&] { return static_cast<std::uint64_t>(std::streamoff(in.tellg())); };
    read.bytes = offset();
    for (std::size_t r = first;; ++r) {
        if (!std::getline(in, line)) return read;
        // A kill in the middle of a write can leave the last line without its end.
        if (in.eof()) {
            read.cutShort = true;
            return read;
        }
        if (IsStoppedLine(line)) {
            read.stopped = line;
            nothingAfter("stopped line");
            return read;
        }
        const std::string lineName = "line " + std::to_string(r - first + 2);
        if (r == last) {
            const std::string end = std::string(kEndStart) + std::to_string(last - first) + " records";
            if (line != end) throw GapPairsError(lineName + " is not its end line \"" + end + "\"");
            read.ended = true;
            nothingAfter("end line");
            return read;
        }
        if (line.starts_with(kEndStart))
            throw GapPairsError("is incomplete: its end line comes before record " + std::to_string(r + 1));
        const auto fields = Fields(line);
        if (fields.size() < 2 || fields[0] != std::to_string(r + 1) || fields[1] != TableName(ids[r]))
            throw GapPairsError(lineName + " is not record " + std::to_string(r + 1) + " \"" + ids[r] +
                                "\" of this library: the file is of another library");
        if (fields.size() - 2 != n - 1 - r)
            throw GapPairsError(lineName + " holds " + std::to_string(fields.size() - 2) + " distances where record " +
                                std::to_string(r + 1) + " has " + std::to_string(n - 1 - r) + " later records");
        later.resize(n - 1 - r);
        for (std::size_t k = 0; k < later.size(); ++k) {
            const auto value = ReadCell(fields[k + 2]);
            if (!value) throw GapPairsError(lineName + ": \"" + std::string(fields[k + 2]) + "\" is not a distance");
            later[k] = *value;
        }
        if (take) take(r, later, line);
        ++read.records;
        read.bytes = offset();
    }
}

void OfferGapRow(GapAnalysis& analysis, std::size_t r, const std::vector<double>& later, GapJoinSummary& summary) {
    for (std::size_t k = 0; k < later.size(); ++k) {
        if (std::isinf(later[k])) continue;
        ++summary.pairs;
        if (std::isnan(later[k])) ++summary.failed;
        else analysis.Offer(r, r + 1 + k, later[k]);
    }
}

GapJoinSummary JoinGapShards(const std::vector<std::filesystem::path>& shards, const std::string& run,
                             std::string_view about, GapAnalysis& analysis, const GapSink::RowReceiver& rows) {
    ShardOrder order("shards", "another library, model, formulas or aligner");
    GapJoinSummary summary;
    const std::vector<std::string> ids = RecordIds(analysis);
    for (const std::filesystem::path& file : shards) {
        const auto fail = [&](const std::string& problem) { return MergeError(QuotedPath(file) + " " + problem); };
        std::ifstream in(file, std::ios::binary);
        if (!in) throw fail(std::string("cannot be read (") + std::strerror(errno) + ")");
        std::string header;
        std::getline(in, header);
        const auto tag = ReadShardTag(header);
        if (!header.starts_with(kHeaderStart) || !tag)
            throw fail("is not the output of 'kadrel gap --shard' (its first line is not \"" + std::string(kHeaderStart) +
                       "... [shard K/N of run ...]\")");
        order.Check(tag, file);
        if (tag->run != run)
            throw fail("is shard " + std::to_string(tag->index) + "/" + std::to_string(tag->count) +
                       " of another run: it holds \"" + std::string(BannerWithoutShardTag(header).substr(kHeaderStart.size())) +
                       "\", this join \"" + std::string(about) + "\" (give the library, -m, --classic and -a the shards were run with)");
        const auto [first, last] = ShardRecords({tag->index, tag->count}, ids.size());
        GapPairLines read;
        try {
            read = ReadGapPairLines(in, ids, first, last, [&](std::size_t r, const std::vector<double>& later, std::string_view) {
                OfferGapRow(analysis, r, later, summary);
                if (rows) rows(r, later);
            });
        } catch (const GapPairsError& e) {
            throw fail(e.what());
        }
        if (in.bad()) throw fail("cannot be read to its end");
        const std::string again = "run the same 'kadrel gap --shard' command with --resume to finish it";
        if (!read.stopped.empty()) throw fail("was stopped before its end (\"" + read.stopped + "\"): " + again);
        if (read.cutShort) throw fail("is incomplete: its last line is cut short (was its run killed? " + again + ")");
        if (!read.ended)
            throw fail(first + read.records < last
                           ? "is incomplete: it ends before record " + std::to_string(first + read.records + 1) +
                                 " (was its run killed? " + again + ")"
                           : "is incomplete: it has no end line after its last record (" + again + ")");
    }
    order.CheckComplete();
    return summary;
}

}  // namespace kadrel
