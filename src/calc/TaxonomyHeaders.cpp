// The taxonomy conventions of the common reference libraries, each read from the header alone.
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/Taxonomy.h"
#include "calc/TextFields.h"

namespace kadrel {
namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The rank of a one-letter code, as SINTAX ("g:") and Greengenes ("g__") write them.
std::optional<Rank> RankOfLetter(char letter) {
    switch (letter) {
        case 'd': case 'k': return Rank::Kingdom;
        case 'p': return Rank::Phylum;
        case 'c': return Rank::Class;
        case 'o': return Rank::Order;
        case 'f': return Rank::Family;
        case 'g': return Rank::Genus;
        case 's': return Rank::Species;
        default: return std::nullopt;
    }
}

// A domain and a kingdom both given (d:Eukaryota,k:Fungi): the kingdom says more.
void Put(Lineage& lineage, char letter, std::string_view raw) {
    const auto rank = RankOfLetter(letter);
    if (!rank) return;
    std::string name = TaxonName(raw, *rank);
    if (letter == 'd' && !lineage.At(Rank::Kingdom).empty()) return;
    if (!name.empty()) lineage.At(*rank) = std::move(name);
}

// "d:Bacteria,p:Firmicutes,...,s:Name" up to the next ';'.
Lineage Sintax(std::string_view text) {
    Lineage lineage;
    text = text.substr(0, text.find(';'));
    for (const std::string_view field : SplitFields(text, ','))
        if (field.size() >= 2 && field[1] == ':') Put(lineage, field[0], field.substr(2));
    return lineage;
}

// "k__Fungi;p__Ascomycota;...;s__Name", fields perhaps spaced, ended by the first that is not one.
Lineage Prefixed(std::string_view text) {
    Lineage lineage;
    text = text.substr(0, text.find(" ["));  // GTDB's trailing [location=...] notes
    for (std::string_view field : SplitFields(text, ';')) {
        field = Trimmed(field);
        if (field.size() < 3 || field[1] != '_' || field[2] != '_') break;
        Put(lineage, field[0], field.substr(3));
    }
    return lineage;
}

// Where "k__" or "d__" begins a word of the header: start, or after a space, '|' or ';'.
std::string_view::size_type PrefixedStart(std::string_view header) {
    for (std::size_t at = 0; at + 3 <= header.size(); ++at) {
        if ((header[at] != 'k' && header[at] != 'd') || header.compare(at + 1, 2, "__") != 0) continue;
        if (at == 0 || header[at - 1] == ' ' || header[at - 1] == '|' || header[at - 1] == ';') return at;
    }
    return std::string_view::npos;
}

// Names filled from the species upwards; what is left over before the phylum is the domain or
// kingdom, the last of them (a kingdom after a superkingdom) taken.
Lineage FromTheEnd(const std::vector<std::string_view>& names) {
    Lineage lineage;
    std::size_t rank = kRankCount;
    std::size_t n = names.size();
    while (n > 0 && rank > 1) {
        --rank;
        --n;
        lineage.names[rank] = TaxonName(names[n], static_cast<Rank>(rank));
    }
    if (n > 0) lineage.names[0] = TaxonName(names[n - 1], Rank::Kingdom);
    return lineage;
}

// "root_1;Eukaryota_2759;Arthropoda_6656;...;Lestes sponsa_1234": taxids off, the root dropped.
Lineage Midori(std::string_view text) {
    std::vector<std::string_view> names;
    for (std::string_view field : SplitFields(text, ';')) {
        field = Trimmed(field);
        const auto underscore = field.rfind('_');
        if (underscore != std::string_view::npos && underscore + 1 < field.size() &&
            field.find_first_not_of("0123456789", underscore + 1) == std::string_view::npos)
            field = field.substr(0, underscore);
        if (field.empty() || (names.empty() && field == "root")) continue;
        names.push_back(field);
    }
    return FromTheEnd(names);
}

// domain|supergroup|division|[subdivision|]class|order|family|genus|species
Lineage Pr2(const std::vector<std::string_view>& ranks) {
    Lineage lineage = FromTheEnd({ranks.end() - 5, ranks.end()});
    lineage.At(Rank::Kingdom) = TaxonName(ranks[0], Rank::Kingdom);
    lineage.At(Rank::Phylum) = TaxonName(ranks[2], Rank::Phylum);
    return lineage;
}

// SILVA's lineages have seven levels for most prokaryotes and more or fewer elsewhere: seven are
// read by position; otherwise only the domain, the species (always last) and the genus before it
// when the species' name begins with it.
Lineage Silva(std::string_view text) {
    std::vector<std::string_view> names;
    for (const std::string_view field : SplitFields(text, ';'))
        if (!Trimmed(field).empty()) names.push_back(Trimmed(field));
    Lineage lineage;
    if (names.size() == kRankCount) {
        for (std::size_t r = 0; r < kRankCount; ++r) lineage.names[r] = TaxonName(names[r], static_cast<Rank>(r));
        return lineage;
    }
    lineage.At(Rank::Kingdom) = TaxonName(names.front(), Rank::Kingdom);
    lineage.At(Rank::Species) = TaxonName(names.back(), Rank::Species);
    const std::string genus = names.size() >= 3 ? TaxonName(names[names.size() - 2], Rank::Genus) : "";
    const std::string& species = lineage.At(Rank::Species);
    if (!genus.empty() && species.starts_with(genus + " ")) lineage.At(Rank::Genus) = genus;
    return lineage;
}

bool SilvaDomain(std::string_view name) {
    return name == "Bacteria" || name == "Archaea" || name == "Eukaryota" || name == "Eukarya";
}

// "ID|Genus_species": a capitalised name of two or more words.
Lineage Plain(std::string_view field) {
    Lineage lineage;
    if (field.empty() || !std::isupper(static_cast<unsigned char>(field[0])) || field.find('_') == std::string_view::npos)
        return lineage;
    lineage.At(Rank::Species) = TaxonName(field, Rank::Species);
    lineage.At(Rank::Genus) = TaxonName(field.substr(0, field.find('_')), Rank::Genus);
    return lineage;
}

Lineage Read(std::string_view header) {
    if (const auto tax = header.find("tax="); tax != std::string_view::npos && (tax == 0 || header[tax - 1] == ';'))
        return Sintax(header.substr(tax + 4));
    const auto start = header.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    header.remove_prefix(start);
    const std::string_view word = header.substr(0, header.find_first_of(" \t"));
    if (const auto hashes = header.find("###"); hashes != std::string_view::npos && hashes < word.size())
        return Midori(header.substr(hashes + 3));
    if (const auto prefixed = PrefixedStart(header); prefixed != std::string_view::npos)
        return Prefixed(header.substr(prefixed));
    const auto fields = SplitFields(word, '|');
    if (fields.size() >= 8) return Pr2({fields.begin() + 1, fields.end()});
    const std::string_view rest = Trimmed(header.substr(word.size()));
    if (rest.find(';') != std::string_view::npos && SilvaDomain(Trimmed(rest.substr(0, rest.find(';')))))
        return Silva(rest);
    if (fields.size() >= 2) return Plain(fields.back());
    return {};
}

}  // namespace

Lineage HeaderLineage(std::string_view header) {
    Lineage lineage = Read(header);
    // Greengenes 13_8 writes the species' epithet alone ("s__coli").
    std::string& species = lineage.At(Rank::Species);
    const std::string& genus = lineage.At(Rank::Genus);
    if (!species.empty() && !genus.empty() && species.find(' ') == std::string::npos &&
        std::islower(static_cast<unsigned char>(species[0])))
        species = genus + " " + species;
    return lineage;
}

}  // namespace kadrel
