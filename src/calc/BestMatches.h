#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// The closest set-2 matches of every set-1 record, kept as the run goes: per set-1 record only
// its own few candidates, never a table of all pairs. Only values below 10 are candidates; of
// equal values the first offered (the lowest set-2 position) comes first.
class BestMatches {
public:
    // Up to `count` matches a record; `ties` adds every match equal to the last one kept.
    explicit BestMatches(std::size_t count = 1, bool ties = false);

    // Starts the entry of the next set-1 record.
    void BeginRecord(std::string name);
    // A compared pair of the current record: its set-2 name and its ranking value as printed
    // (no value for NA, which is never a candidate).
    void Offer(std::string_view secondName, const std::optional<double>& value);
    // "Best matches:" and, per record, one line per match in increasing value: name, tab, match
    // name, tab, value; a record without a candidate gets one line with an empty name and "NA".
    // CR LF line ends.
    std::string Text(std::string_view decimalSeparator) const;

private:
    struct Match {
        double value;
        std::string name;
    };
    struct Entry {
        std::string name;
        std::vector<Match> matches;  // increasing value, equal values in offering order
    };
    std::size_t count_;
    bool ties_;
    std::vector<Entry> entries_;
};

}  // namespace kadrel
