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

AlignedPair ReadAlignedPair(std::string_view outputText) {
    AlignedPair pair;
    const std::vector<std::string_view> lines = SplitLines(outputText);

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
