#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kadrel {

// The best set-2 match of every set-1 record, kept as the run goes: one entry per set-1 record,
// never a table of all pairs. Only values below 10 are candidates; of equal values the first
// offered (the lowest set-2 position) stays.
class BestMatches {
public:
    // Starts the entry of the next set-1 record.
    void BeginRecord(std::string name);
    // A compared pair of the current record: its set-2 name and its ranking value as printed
    // (no value for NA, which is never a candidate).
    void Offer(std::string_view secondName, const std::optional<double>& value);
    // "Best matches:" and one line per record: name, tab, best name, tab, value; a record
    // without a candidate gets an empty name and "NA". CR LF line ends.
    std::string Text(std::string_view decimalSeparator) const;

private:
    struct Entry {
        std::string name;
        double best;
        std::string bestName;  // meaningful once best is below 10
    };
    std::vector<Entry> entries_;
};

}  // namespace kadrel
