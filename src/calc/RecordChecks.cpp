#include "calc/RecordChecks.h"

#include <bitset>
#include <cstdio>

#include "align/AlignerInput.h"
#include "sites/CompareSites.h"

namespace kadrel {
namespace {

// A character as a message can show it: printable ASCII as it is, anything else by its code.
std::string Shown(unsigned char c) {
    if (c > ' ' && c < 0x7f) return std::string(1, static_cast<char>(c));
    char code[8];
    std::snprintf(code, sizeof code, "\\x%02X", c);
    return code;
}

std::optional<std::string> UnknownCharacters(std::string_view residues, bool textbook) {
    std::size_t sites = 0;
    std::bitset<256> seen;
    for (const char c : residues) {
        if (KnownSiteCharacter(c)) continue;
        ++sites;
        seen.set(static_cast<unsigned char>(c));
    }
    if (sites == 0) return std::nullopt;
    std::string shown;
    for (std::size_t c = 0; c < seen.size(); ++c) {
        if (!seen[c]) continue;
        if (!shown.empty()) shown += ' ';
        shown += Shown(static_cast<unsigned char>(c));
    }
    return std::to_string(sites) + (sites == 1 ? " site holds" : " sites hold") +
           " characters other than bases, ambiguity codes and gaps (" + shown + ")" +
           (textbook ? "; the published forms leave them out" : "; they count as identical sites");
}

}  // namespace

RecordCheck CheckRecordText(std::string_view recordText, bool textbook) {
    RecordCheck check;
    if ((check.problem = RecordTextProblem(recordText))) return check;
    if (recordText.find('>') == std::string_view::npos) {
        check.problem = "holds no '>' (it is not a FASTA record)";
        return check;
    }
    const std::string residues = SequenceResidues(recordText);
    if (residues.find_first_of("ACGTUacgtu") == std::string::npos) {
        check.problem = "holds no A, C, G or T";
        return check;
    }
    check.note = UnknownCharacters(residues, textbook);
    return check;
}

}  // namespace kadrel
