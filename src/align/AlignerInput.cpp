#include "align/AlignerInput.h"

#include <array>

namespace kadrel {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\f\v";

std::string_view WithoutLeadingBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

}  // namespace

std::string_view SequenceLines(std::string_view recordText) {
    const auto text = WithoutLeadingBlanks(recordText);
    if (text.empty() || text.front() != '>') return recordText;
    auto lineEnd = text.find_first_of("\r\n");
    if (lineEnd == std::string_view::npos) return {};
    // One line end (CR LF, LF or CR) belongs to the header line.
    if (text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n') ++lineEnd;
    return text.substr(lineEnd + 1);
}

std::string ComposeAlignerInput(std::string_view firstRecord, std::string_view secondRecord) {
    std::string input;
    const auto first = SequenceLines(firstRecord);
    const auto second = SequenceLines(secondRecord);
    input.reserve(first.size() + second.size() + 20);
    input += ">s1\r\n";
    input += first;
    input += "\r\n>s2\r\n";
    input += second;
    input += "\r\n";
    return input;
}

std::string SequenceResidues(std::string_view recordText) {
    static const auto skipped = [] {
        std::array<bool, 256> table{};
        for (const char c : std::string_view(" \t\r\n\f\v#*-.~")) table[static_cast<unsigned char>(c)] = true;
        return table;
    }();
    const auto lines = SequenceLines(recordText);
    // Every byte written, the count moved on past the kept ones: no branch per residue.
    std::string residues(lines.size(), '\0');
    std::size_t kept = 0;
    for (const char c : lines) {
        residues[kept] = c;
        kept += !skipped[static_cast<unsigned char>(c)];
    }
    residues.resize(kept);
    return residues;
}

std::optional<std::string> RecordTextProblem(std::string_view recordText) {
    const auto text = WithoutLeadingBlanks(recordText);
    const auto marker = text.find('>', text.empty() || text.front() != '>' ? 0 : 1);
    if (marker != std::string_view::npos) return "holds more than one record";
    if (SequenceLines(recordText).find_first_not_of(kBlanks) == std::string_view::npos)
        return "holds no sequence";
    return std::nullopt;
}

std::string PairName(std::size_t first, std::size_t second) {
    return std::to_string(first) + "_" + std::to_string(second);
}

}  // namespace kadrel
