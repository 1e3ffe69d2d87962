#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lutrane {

// One record of a multi-record FASTA text.
struct FastaRecord {
    std::string name;  // the header line after ">", up to the first CR or LF, blanks kept
    std::string text;  // ">" plus everything up to the next ">" or the end, line ends as they stand

    bool operator==(const FastaRecord&) const = default;
};

// Cuts the text at every ">"; whatever comes before the first ">" is not a record.
// A ">" inside a header line cuts there too, so no byte after the first ">" is dropped.
std::vector<FastaRecord> CutRecords(std::string_view fileText);

// The '>' characters after the first record began that do not begin a line. Each starts a record
// as any '>' does, but in real files it has mostly cut a header in two ("S51-W<gv>1"), which the
// user should hear of: the first one's line (from 1) and the record it begins (from 0).
struct InnerMarkers {
    std::size_t count = 0;
    std::size_t firstLine = 0;
    std::size_t firstRecord = 0;
};
InnerMarkers FindInnerMarkers(std::string_view fileText);

}  // namespace lutrane
