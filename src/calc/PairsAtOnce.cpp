#include "calc/PairsAtOnce.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <numeric>
#include <thread>

#include "align/tcoffee/TCoffeeMemory.h"

namespace kadrel {
namespace {

std::string Gigabytes(double bytes) {
    const auto tenths = std::llround(bytes / (1024.0 * 1024.0 * 1024.0) * 10);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " GB";
}

std::vector<std::size_t> Longest(std::vector<std::size_t> lengths, std::size_t count) {
    count = std::min(count, lengths.size());
    std::partial_sort(lengths.begin(), lengths.begin() + static_cast<std::ptrdiff_t>(count), lengths.end(),
                      std::greater<>());
    lengths.resize(count);
    return lengths;
}

std::vector<std::size_t> RecordLengths(const SequenceSet& set) {
    std::vector<std::size_t> lengths;
    lengths.reserve(set.count);
    for (std::size_t i = 0; i < set.count; ++i) {
        if (set.source == SetSource::MultipleSequenceFile) {
            const std::string& piece = set.pieces.at(i + 1);
            const auto lineEnd = piece.find_first_of("\r\n");
            lengths.push_back(lineEnd == std::string::npos ? 0 : piece.size() - lineEnd);
        } else {
            std::error_code ec;
            const auto size = std::filesystem::file_size(set.folderPath / set.fileNames[i], ec);
            lengths.push_back(ec ? 0 : static_cast<std::size_t>(size));
        }
    }
    return lengths;
}

std::optional<double> MemoryAvailable() {
    std::ifstream meminfo("/proc/meminfo");
    std::string name;
    double kilobytes = 0;
    std::string unit;
    while (meminfo >> name >> kilobytes >> unit) {
        if (name == "MemAvailable:") return kilobytes * 1024;
    }
    return std::nullopt;
}

}  // namespace

PairsAtOnce ChooseTCoffeePairsAtOnce(std::vector<std::size_t> lengths1, std::vector<std::size_t> lengths2,
                                     unsigned asked, unsigned cores, std::optional<double> available) {
    const unsigned usual = std::clamp(cores, 1u, kMostDefaultPairsAtOnce);
    PairsAtOnce choice{asked != 0 ? asked : usual, {}};
    // The heaviest pairs, heaviest first; no more of them can be at work at once.
    const auto longest1 = Longest(std::move(lengths1), choice.pairs);
    const auto longest2 = Longest(std::move(lengths2), choice.pairs);
    std::vector<double> heaviest;
    for (const auto length1 : longest1) {
        for (const auto length2 : longest2) heaviest.push_back(TCoffeePeakBytes(length1, length2));
    }
    if (!available || heaviest.empty()) return choice;
    std::sort(heaviest.begin(), heaviest.end(), std::greater<>());
    const auto need = [&](unsigned pairs) {
        const auto count = std::min<std::ptrdiff_t>(pairs, std::ssize(heaviest));
        return std::accumulate(heaviest.begin(), heaviest.begin() + count, 0.0);
    };
    const std::string perPair =
        "t_coffee may need up to " + Gigabytes(heaviest.front()) + " for a pair of the longest records";
    if (asked != 0) {
        if (need(asked) > *available)
            choice.notice = "warning: -j " + std::to_string(asked) + ": " + perPair + ", " + Gigabytes(need(asked)) +
                            " at once, more than the " + Gigabytes(*available) + " of memory available";
        return choice;
    }
    while (choice.pairs > 1 && need(choice.pairs) > *available) --choice.pairs;
    if (need(choice.pairs) > *available)
        choice.notice = "warning: " + perPair + ", more than the " + Gigabytes(*available) +
                        " of memory available; aligning one pair at a time";
    else if (choice.pairs < usual)
        choice.notice = "aligning " +
                        (choice.pairs == 1 ? "one pair at a time" : std::to_string(choice.pairs) + " pairs at once") +
                        " rather than " + std::to_string(usual) + ": " + perPair + ", and " + Gigabytes(*available) +
                        " of memory is available";
    return choice;
}

PairsAtOnce ChoosePairsAtOnce(const SequenceSet& set1, const SequenceSet& set2, bool tcoffee, unsigned asked) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (!tcoffee) return {asked != 0 ? asked : cores, {}};
    return ChooseTCoffeePairsAtOnce(RecordLengths(set1), RecordLengths(set2), asked, cores, MemoryAvailable());
}

}  // namespace kadrel
