#include "align/pairhmm/PairInput.h"

#include <cstddef>

namespace kadrel::pairhmm {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool Contains(std::string_view text, std::string_view what) { return text.find(what) != std::string_view::npos; }

std::string Quoted(const std::string& name) { return "'" + name + "'"; }

// Texts that one of t_coffee's other readers would claim before its FASTA reader sees them.
std::string OtherFormat(std::string_view text) {
    if (Contains(text, "STOCKHOLM") || Contains(text, "#NAMESEQ_01") || (Contains(text, "MSF:") && Contains(text, "Type:")))
        return "it looks like another alignment format to t_coffee";
    if ((Contains(text, "Lambda") && Contains(text, "Altschul,")) || Contains(text, "<SequenceSimilaritySearchResult>"))
        return "it looks like a search result to t_coffee";
    for (std::size_t line = 0; line < text.size();) {
        const auto rest = text.substr(line);
        if (rest.starts_with("HEADER") || rest.starts_with("SEQRES") || rest.starts_with("ATOM"))
            return "it looks like a structure file to t_coffee";
        const auto end = text.find('\n', line);
        if (end == std::string_view::npos) break;
        line = end + 1;
    }
    return {};
}

// The name as t_coffee prints it: a closing ',' or ';' dropped, its separators made '_'.
std::string EditedName(std::string name) {
    if (!name.empty() && (name.back() == ',' || name.back() == ';')) name.pop_back();
    for (char& c : name)
        if (std::string_view(";(),:#><'").find(c) != std::string_view::npos) c = '_';
    return name;
}

bool IsPirName(std::string_view name) {
    for (const std::string_view prefix : {"P1;", "F1;", "DL;", "DC;", "RL;", "RC;", "XX;"})
        if (name.starts_with(prefix)) return true;
    return false;
}

// DNA, RNA or protein by t_coffee's proportions over both sequences.
std::string TypeProblem(const std::vector<PairRecord>& records) {
    long long total = 0, dna = 0, rna = 0;
    for (const PairRecord& record : records) {
        for (const char c : record.residues) {
            ++total;
            dna += std::string_view("AGCTUNRYMKSWHBVDagctunrymkswhbvd").find(c) != std::string_view::npos;
            rna += c == 'U' || c == 'u';
        }
    }
    if (100 * dna / total <= 98) {
        std::size_t worst = 0, most = 0;
        for (std::size_t r = 0; r < records.size(); ++r) {
            std::size_t others = 0;
            for (const char c : records[r].residues)
                others += std::string_view("AGCTUNRYMKSWHBVDagctunrymkswhbvd").find(c) == std::string_view::npos;
            if (others > most) most = others, worst = r;
        }
        return "t_coffee reads the pair as protein: more than 1 % of its characters are not DNA codes (record " +
               Quoted(records[worst].name) + " holds " + std::to_string(most) + ")";
    }
    if (100 * rna / total >= 1) {
        for (const PairRecord& record : records)
            if (record.residues.find_first_of("Uu") != std::string::npos)
                return "t_coffee reads the pair as RNA: record " + Quoted(record.name) + " holds U";
    }
    return {};
}

std::string Problem(std::string_view text, const std::vector<PairRecord>& records) {
    if (records.size() != 2) return "it holds " + std::to_string(records.size()) + " records, not two";
    for (const PairRecord& record : records) {
        if (record.name.empty()) return "a record has no name";
        if (record.residues.empty()) return "record " + Quoted(record.name) + " holds no sequence";
        if (record.residues == "PDB" || IsPirName(record.name))
            return "record " + Quoted(record.name) + " looks like another format to t_coffee";
    }
    if (records[0].name == records[1].name) return "both records are named " + Quoted(records[0].name);
    if (records[0].residues.size() + records[1].residues.size() < 20) return "the two sequences are shorter than 20 in all";
    if (auto other = OtherFormat(text); !other.empty()) return other;
    return TypeProblem(records);
}

}  // namespace

PairInput ReadPairInput(std::string_view text) {
    PairInput input;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (c >= 0x80 || (c < 0x20 && !IsSpace(text[k])) || c == 0x7f) {
            input.offPath = "it holds a byte t_coffee does not read as text";
            return input;
        }
        // A lone CR is no line end to t_coffee: a header would run on into the sequence.
        if (c == '\r' && (k + 1 == text.size() || text[k + 1] != '\n')) {
            input.offPath = "it ends lines with a lone CR";
            return input;
        }
    }
    if (text.empty() || text.front() != '>') {
        input.offPath = "it does not begin with '>'";
        return input;
    }
    // Every record starts at a '>' that begins a line, and runs up to the next one.
    for (std::size_t at = 0; at < text.size();) {
        PairRecord record;
        const auto lineEnd = std::min(text.find('\n', at), text.size());
        std::size_t nameBegin = at + 1;
        while (nameBegin < lineEnd && IsSpace(text[nameBegin])) ++nameBegin;
        std::size_t nameEnd = nameBegin;
        while (nameEnd < lineEnd && !IsSpace(text[nameEnd])) ++nameEnd;
        if (nameEnd - nameBegin >= 1000 || lineEnd - nameEnd > 999) {
            input.offPath = "a header line is longer than t_coffee reads";
            return input;
        }
        record.name = EditedName(std::string(text.substr(nameBegin, nameEnd - nameBegin)));
        auto end = text.find("\n>", lineEnd);
        end = end == std::string_view::npos ? text.size() : end + 1;
        for (std::size_t k = lineEnd; k < end; ++k) {
            const char c = text[k];
            if (c == '>') {
                input.offPath = "a sequence line holds '>'";
                return input;
            }
            if (!IsSpace(c) && std::string_view("-.#*~").find(c) == std::string_view::npos) record.residues += c;
        }
        input.records.push_back(std::move(record));
        at = end;
    }
    input.offPath = Problem(text, input.records);
    return input;
}

}  // namespace kadrel::pairhmm
