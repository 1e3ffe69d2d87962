#include "calc/SetWarnings.h"

#include <map>

#include "align/TextFile.h"

namespace kadrel {
namespace {

constexpr std::size_t kNamesShown = 3;

// CR LF, LF and a lone CR are one line end each; a CR that ends a piece stood before a '>'.
std::size_t LineEnds(const std::string& text) {
    std::size_t ends = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++ends;
    return ends;
}

std::string FirstLine(const std::string& piece) {
    std::string line = piece.substr(0, piece.find_first_of("\r\n"));
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    return line;
}

bool BeginsLine(const std::string& before) { return before.ends_with('\n') || before.ends_with('\r'); }

}  // namespace

std::optional<std::string> InnerMarkerWarning(const std::filesystem::path& file,
                                              const std::vector<std::string>& pieces) {
    std::size_t line = 1, found = 0, firstLine = 0, firstPiece = 0;
    // Marker k stands between pieces k - 1 and k; text before the first record is not cut.
    for (std::size_t k = 1; k < pieces.size(); ++k) {
        line += LineEnds(pieces[k - 1]);
        if (k > 1 && !BeginsLine(pieces[k - 1]) && found++ == 0) {
            firstLine = line;
            firstPiece = k;
        }
    }
    if (found == 0) return std::nullopt;
    // Piece k is record k, counted from 1.
    std::string message = QuotedPath(file) + " line " + std::to_string(firstLine) +
                          ": a '>' inside the line starts a new record there: record " +
                          std::to_string(firstPiece - 1) + " \"" + FirstLine(pieces[firstPiece - 1]) +
                          "\" ends and record " + std::to_string(firstPiece) + " \"" + FirstLine(pieces[firstPiece]) +
                          "\" begins";
    if (found > 1) message += " (" + std::to_string(found) + " lines of the file hold such a '>')";
    return message;
}

std::optional<std::string> DuplicateNamesWarning(const std::string& setName, const std::vector<std::string>& names) {
    std::map<std::string, std::size_t> seen;
    std::vector<std::string> repeated;  // in the order of their second record
    for (const std::string& name : names)
        if (++seen[name] == 2) repeated.push_back(name);
    if (repeated.empty()) return std::nullopt;
    std::string message = setName + ": record names held by more than one record: ";
    for (std::size_t n = 0; n < repeated.size() && n < kNamesShown; ++n) {
        if (n > 0) message += ", ";
        message += '"' + repeated[n] + "\" (" + std::to_string(seen[repeated[n]]) + " records)";
    }
    if (repeated.size() > kNamesShown) message += " and " + std::to_string(repeated.size() - kNamesShown) + " more";
    return message + "; their rows cannot be told apart";
}

}  // namespace kadrel
