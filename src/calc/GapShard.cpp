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

// One shard's lines into the analysis; its tag has been checked.
void ReadShard(std::ifstream& in, const std::filesystem::path& file, const ShardTag& tag, GapAnalysis& analysis,
               const GapSink::RowReceiver& rows, GapJoinSummary& summary) {
    const auto fail = [&](const std::string& problem) { return MergeError(QuotedPath(file) + " " + problem); };
    const std::size_t n = analysis.Records().size();
    const auto [first, last] = ShardRecords({tag.index, tag.count}, n);
    std::string line;
    std::vector<double> later;
    for (std::size_t r = first; r < last; ++r) {
        const std::string lineName = "line " + std::to_string(r - first + 2);
        if (!std::getline(in, line) || line.starts_with(kEndStart))
            throw fail("is incomplete: it ends before record " + std::to_string(r + 1) +
                       " (was its run stopped? run that shard again to its end)");
        if (in.eof()) throw fail("is incomplete: its last line is cut short");
        const auto fields = Fields(line);
        if (fields.size() < 2 || fields[0] != std::to_string(r + 1) || fields[1] != TableName(analysis.Records()[r].id))
            throw fail(lineName + " is not record " + std::to_string(r + 1) + " \"" + analysis.Records()[r].id +
                       "\" of this library: the shard is of another library");
        if (fields.size() - 2 != n - 1 - r)
            throw fail(lineName + " holds " + std::to_string(fields.size() - 2) + " distances where record " +
                       std::to_string(r + 1) + " has " + std::to_string(n - 1 - r) + " later records");
        later.resize(n - 1 - r);
        for (std::size_t k = 0; k < later.size(); ++k) {
            const auto value = ReadCell(fields[k + 2]);
            if (!value) throw fail(lineName + ": \"" + std::string(fields[k + 2]) + "\" is not a distance");
            later[k] = *value;
            if (std::isinf(*value)) continue;
            ++summary.pairs;
            // As the run offered them: every pair with a distance, in the partner's order.
            if (std::isnan(*value)) ++summary.failed;
            else analysis.Offer(r, r + 1 + k, *value);
        }
        if (rows) rows(r, later);
    }
    if (!std::getline(in, line) || line != std::string(kEndStart) + std::to_string(last - first) + " records" ||
        in.eof())
        throw fail("is incomplete: it has no end line after its last record (was its run stopped? run that shard "
                   "again to its end)");
    if (in.peek() != std::char_traits<char>::eof()) throw fail("goes on after its end line");
}

}  // namespace

std::string GapShardHeader(std::string_view about, const ShardTag& tag) {
    return std::string(kHeaderStart) + std::string(about) + " " + ShardTagText(tag) + "\n";
}

std::string GapShardLine(std::size_t record, std::string_view id, const std::vector<double>& later) {
    std::string line = std::to_string(record + 1) + '\t' + TableName(id);
    for (const double value : later) (line += '\t') += Cell(value);
    return line += '\n';
}

std::string GapShardEnd(std::size_t records) { return std::string(kEndStart) + std::to_string(records) + " records\n"; }

GapJoinSummary JoinGapShards(const std::vector<std::filesystem::path>& shards, const std::string& run,
                             std::string_view about, GapAnalysis& analysis, const GapSink::RowReceiver& rows) {
    ShardOrder order("shards", "another library, model, formulas or aligner");
    GapJoinSummary summary;
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
        ReadShard(in, file, *tag, analysis, rows, summary);
        if (in.bad()) throw fail("cannot be read to its end");
    }
    order.CheckComplete();
    return summary;
}

}  // namespace kadrel
