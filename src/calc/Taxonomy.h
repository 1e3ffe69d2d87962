#pragma once
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

// One ladder for every library: domain or kingdom, phylum, class, order, family, genus, species.
enum class Rank { Kingdom = 0, Phylum, Class, Order, Family, Genus, Species };
constexpr std::size_t kRankCount = 7;

// "kingdom", "phylum", ... "species".
std::string_view RankName(Rank rank);
// The ladder's names, and "domain" and "superkingdom" for its first rank, in any case.
std::optional<Rank> ParseRankName(std::string_view word);

// A record's taxonomy: one name per rank, empty where the record does not say.
struct Lineage {
    std::array<std::string, kRankCount> names;

    const std::string& At(Rank rank) const { return names[static_cast<std::size_t>(rank)]; }
    std::string& At(Rank rank) { return names[static_cast<std::size_t>(rank)]; }
    bool Classified() const;
    // The lowest rank named; no value for an unclassified record.
    std::optional<Rank> Lowest() const;
    // The names from the first rank down to `down`, joined by ';', an unnamed rank empty.
    std::string Text(Rank down) const;
    // Down to the lowest rank named; "unclassified" when none is.
    std::string Text() const;
};

// A name as the library writes it, made comparable: '_' read as a space, outer spaces dropped.
// Names that stand for no taxon ("unidentified", "unclassified", "uncultured ...", "unknown", and
// at the species rank "Genus sp.") are empty. A one-word species ("coli" under g__Escherichia, as
// Greengenes writes it) is put after its genus by HeaderLineage.
std::string TaxonName(std::string_view raw, Rank rank);

// The taxonomy a FASTA header (without its '>') carries, in whichever of these forms it uses:
// SINTAX/UTAX ";tax=d:...,p:...", UNITE's and Greengenes' "k__...;p__..." (d__ for domain),
// SILVA's "accession Bacteria;...;Genus species", MIDORI2's "accession###root_1;Name_taxid;...",
// PR2's "accession|domain|supergroup|division|...|genus|species" (eight or more '|' fields),
// or "ID|Genus_species" (the species as the last '|' field of the first word). Unclassified when
// none fits.
Lineage HeaderLineage(std::string_view header);

// What a record is called in identification tables: the header's first word, ended where a
// taxonomy written into it begins (";tax=", "###", "|k__", "|d__").
std::string RecordId(std::string_view header);

}  // namespace kadrel
