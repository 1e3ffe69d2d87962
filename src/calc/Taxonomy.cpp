#include "calc/Taxonomy.h"

#include <algorithm>
#include <cctype>

namespace kadrel {
namespace {

constexpr std::array<std::string_view, kRankCount> kRankNames = {"kingdom", "phylum", "class", "order",
                                                                 "family",  "genus",  "species"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool Placeholder(const std::string& name, Rank rank) {
    const std::string lower = Lower(name);
    const std::string firstWord = lower.substr(0, lower.find(' '));
    for (const std::string_view word : {"unidentified", "unclassified", "uncultured", "unknown", "unassigned"})
        if (firstWord == word) return true;
    if (lower == "na" || lower == "none" || lower == "incertae sedis") return true;
    if (rank != Rank::Species) return false;
    for (const std::string_view tail : {" sp", " sp.", " spp", " spp."})
        if (lower.ends_with(tail)) return true;
    return false;
}

}  // namespace

std::string_view RankName(Rank rank) { return kRankNames[static_cast<std::size_t>(rank)]; }

std::optional<Rank> ParseRankName(std::string_view word) {
    const std::string lower = Lower(word);
    if (lower == "domain" || lower == "superkingdom") return Rank::Kingdom;
    for (std::size_t r = 0; r < kRankCount; ++r)
        if (lower == kRankNames[r]) return static_cast<Rank>(r);
    return std::nullopt;
}

bool Lineage::Classified() const { return Lowest().has_value(); }

std::optional<Rank> Lineage::Lowest() const {
    for (std::size_t r = kRankCount; r-- > 0;)
        if (!names[r].empty()) return static_cast<Rank>(r);
    return std::nullopt;
}

std::string Lineage::Text(Rank down) const {
    std::string text;
    for (std::size_t r = 0; r <= static_cast<std::size_t>(down); ++r) {
        if (r != 0) text += ';';
        text += names[r];
    }
    return text;
}

std::string Lineage::Text() const {
    const auto lowest = Lowest();
    return lowest ? Text(*lowest) : "unclassified";
}

std::string TaxonName(std::string_view raw, Rank rank) {
    std::string name(raw);
    std::replace(name.begin(), name.end(), '_', ' ');
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);
    // Runs of spaces from "Genus__species" or "Genus  species" would keep equal names apart.
    name.erase(std::unique(name.begin(), name.end(), [](char a, char b) { return a == ' ' && b == ' '; }), name.end());
    return Placeholder(name, rank) ? std::string() : name;
}

std::string RecordId(std::string_view header) {
    const auto start = header.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    std::string_view word = header.substr(start);
    word = word.substr(0, word.find_first_of(" \t"));
    for (const std::string_view marker : {";tax=", "###", "|k__", "|d__"})
        word = word.substr(0, word.find(marker));
    return std::string(word);
}

}  // namespace kadrel
