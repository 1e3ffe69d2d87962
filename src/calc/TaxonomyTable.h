#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

#include "calc/Taxonomy.h"

namespace kadrel {

// A taxonomy file that cannot be used; the message names the file and the line.
class TaxonomyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Lineages given beside the sequences: a tab-separated table whose first column is the record id
// and whose other columns are named by rank in its first line (kingdom or domain, phylum, class,
// order, family, genus, species, in any case and order). Other columns (BOLD's subfamily,
// bin_uri, UNITE's sh ...) are read past, so BOLD's data packages are taken as they come.
class TaxonomyTable {
public:
    // `file` only names the table in messages. Throws TaxonomyError.
    static TaxonomyTable Parse(std::string_view text, const std::string& file);
    // Reads gzip-compressed tables too. Throws TaxonomyError.
    static TaxonomyTable Read(const std::filesystem::path& file);

    // The lineage of a record: by its id, or by the id's part before the first '|' (BOLD's
    // "PROCESSID|species|marker" headers). Null when the table does not hold it.
    const Lineage* Find(std::string_view id) const;
    std::size_t size() const { return lineages_.size(); }

private:
    std::unordered_map<std::string, Lineage> lineages_;
};

}  // namespace kadrel
