#include "calc/TaxonomyTable.h"

#include <optional>
#include <vector>

#include "align/TextFile.h"
#include "calc/TextFields.h"

namespace kadrel {

TaxonomyTable TaxonomyTable::Parse(std::string_view text, const std::string& file) {
    TaxonomyTable table;
    std::vector<std::optional<Rank>> columns;
    std::size_t lineNumber = 0;
    const auto refuse = [&](const std::string& problem) {
        return TaxonomyError(QuotedPath(file) + " line " + std::to_string(lineNumber) + ": " + problem);
    };
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
        const auto end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        const bool crlf = end != std::string_view::npos && text.substr(end).starts_with("\r\n");
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + (crlf ? 2 : 1));
        ++lineNumber;
        if (line.empty()) continue;
        const auto fields = SplitFields(line, '\t');
        if (columns.empty()) {
            bool anyRank = false;
            for (const auto& name : fields) {
                columns.push_back(&name == &fields.front() ? std::nullopt : ParseRankName(name));
                anyRank = anyRank || columns.back().has_value();
            }
            if (!anyRank)
                throw refuse("the first line names no rank column (kingdom, phylum, class, order, family, genus, "
                             "species); it must be the column titles, the record id first");
            continue;
        }
        Lineage lineage;
        for (std::size_t c = 1; c < fields.size() && c < columns.size(); ++c)
            if (columns[c] && lineage.At(*columns[c]).empty()) lineage.At(*columns[c]) = TaxonName(fields[c], *columns[c]);
        const std::string id(fields.front());
        if (id.empty()) throw refuse("no record id in the first column");
        if (!table.lineages_.emplace(id, std::move(lineage)).second)
            throw refuse("record \"" + id + "\" is given a second time");
    }
    if (columns.empty()) throw TaxonomyError(QuotedPath(file) + ": the taxonomy file is empty");
    return table;
}

TaxonomyTable TaxonomyTable::Read(const std::filesystem::path& file) {
    std::string error;
    const auto text = ReadWholeFile(file, error);
    if (!text) throw TaxonomyError(QuotedPath(file) + ": cannot read the taxonomy file (" + error + ")");
    return Parse(*text, file.string());
}

const Lineage* TaxonomyTable::Find(std::string_view id) const {
    for (const std::string_view key : {id, id.substr(0, id.find('|'))}) {
        if (const auto it = lineages_.find(std::string(key)); it != lineages_.end()) return &it->second;
    }
    return nullptr;
}

}  // namespace kadrel
