#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

// What a record's text tells before it is aligned.
struct RecordCheck {
    // Why its pairs cannot be compared: no sequence, more than one record, no '>' at all (a file
    // that is not a FASTA record, a report for one), or no A, C, G or T among its residues.
    std::optional<std::string> problem;
    // How many of its residues the site classification does not know, and which: they count as
    // identical sites, so the user should hear of them.
    std::optional<std::string> note;
};

RecordCheck CheckRecordText(std::string_view recordText, bool textbook = false);

}  // namespace kadrel
