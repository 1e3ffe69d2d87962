#include "align/AlignmentReader.h"

#include <charconv>
#include <string>
#include <vector>

namespace kadrel {
namespace {

// Lines end at CR LF, LF or a lone CR alike, so the aligner's text reads the same whatever
// platform wrote it.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The piece is the last field when the line is cut at every single blank: a line that ends in
// a blank therefore contributes nothing.
std::string_view LastField(std::string_view line) {
    const std::size_t blank = line.rfind(' ');
    return blank == std::string_view::npos ? line : line.substr(blank + 1);
}

std::string_view FirstWord(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const std::size_t end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string SitesText(double sites) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, sites);
    return std::string(buffer, r.ptr);
}

bool Blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t at = line.find_first_not_of(" \t"); at != std::string_view::npos;
         at = line.find_first_not_of(" \t", at)) {
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        fields.push_back(line.substr(at, end - at));
        at = end;
    }
    return fields;
}

bool AllDigits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

// CLUSTAL as ClustalW, Clustal Omega and others write it: blocks of "name sequence [count]" lines
// separated by blank lines, each perhaps followed by a conservation line, which begins with a
// blank. The k-th line of every block belongs to the k-th sequence, so two sequences of one
// name still read apart. With no "Len=" to go by, the length is the alignment's own.
AlignedPair ReadClustalBlocks(const std::vector<std::string_view>& lines) {
    AlignedPair pair;
    std::vector<std::string> names, sequences;
    std::size_t row = 0;
    bool laterBlock = false;
    const auto fail = [&](std::string why) {
        pair.failure = std::move(why);
        return pair;
    };
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        if (Blank(line)) {
            laterBlock = laterBlock || !names.empty();
            row = 0;
            continue;
        }
        if (line.front() == ' ' || line.front() == '\t') continue;  // conservation
        const std::vector<std::string_view> fields = Fields(line);
        if (fields.size() < 2 || fields.size() > 3 || (fields.size() == 3 && !AllDigits(fields[2])))
            return fail("line " + std::to_string(n + 1) + " is not a name and a piece of sequence");
        if (row == names.size()) {
            if (laterBlock)
                return fail("line " + std::to_string(n + 1) + " adds a sequence that the first block does not hold");
            names.emplace_back(fields[0]);
            sequences.emplace_back();
        } else if (names[row] != fields[0]) {
            return fail("line " + std::to_string(n + 1) + " names \"" + std::string(fields[0]) + "\" where \"" +
                        names[row] + "\" was expected");
        }
        sequences[row++].append(fields[1]);
    }
    if (names.size() != 2)
        return fail("the alignment holds " + std::to_string(names.size()) + " sequences, not the two of a pair");
    pair.firstLabel = names[0];
    pair.secondLabel = names[1];
    pair.first = std::move(sequences[0]);
    pair.second = std::move(sequences[1]);
    if (pair.first.size() != pair.second.size())
        return fail("the sequences hold " + std::to_string(pair.first.size()) + " and " +
                    std::to_string(pair.second.size()) + " sites");
    pair.length = static_cast<double>(pair.first.size());
    pair.usable = true;
    return pair;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::string number;
    bool digits = false, point = false;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n') continue;
        if (c >= '0' && c <= '9') {
            number += c;
            digits = true;
        } else if (c == '.' && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0;
    // An exponent counts only when digits follow it.
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
        const std::size_t first = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') exponent += text[j++];
        if (j > first) number += exponent;
    }
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

AlignedPair ReadAlignedPair(std::string_view outputText, AlignmentSource source) {
    AlignedPair pair;
    const std::vector<std::string_view> lines = SplitLines(outputText);
    // t_coffee's own header carries "Len="; its layout is read as it always was.
    if (source == AlignmentSource::AnyClustal && lines.front().starts_with("CLUSTAL") &&
        lines.front().find("Len=") == std::string_view::npos)
        return ReadClustalBlocks(lines);

    for (std::size_t n = 2; n < lines.size(); n += 4) {
        pair.first.append(LastField(lines[n]));
        if (n + 1 < lines.size()) pair.second.append(LastField(lines[n + 1]));
    }
    if (lines.size() > 2) pair.firstLabel = FirstWord(lines[2]);
    if (lines.size() > 3) pair.secondLabel = FirstWord(lines[3]);

    const std::string_view header = lines.front();
    const std::size_t at = header.find("Len=");
    if (at == std::string_view::npos) {
        pair.failure = outputText.empty() ? "the aligner wrote no output" : "no \"Len=\" in the header line";
        return pair;
    }
    std::string_view piece = header.substr(at + 4);
    piece = piece.substr(0, piece.find("Len="));
    pair.length = LeadingNumber(piece);

    const auto sites = [](const std::string& s) { return static_cast<double>(s.size()); };
    if (sites(pair.first) != pair.length || sites(pair.second) != pair.length) {
        pair.failure = "the header says Len=" + SitesText(pair.length) + " but the sequences hold " +
                       SitesText(sites(pair.first)) + " and " + SitesText(sites(pair.second)) + " sites";
        return pair;
    }
    pair.usable = true;
    return pair;
}

}  // namespace kadrel
