#include "calc/ReferenceGroups.h"

#include <stdexcept>
#include <unordered_map>

namespace kadrel {

ReferenceGroups::ReferenceGroups(std::size_t references, const std::function<std::string(std::size_t)>& residues,
                                 const std::function<void(std::size_t)>& progress) {
    if (references > UINT32_MAX) throw std::length_error("more references than the word index numbers");
    // By the hash of a sequence, its groups' first references: only the texts of groups with the
    // same hash are read again, so holding the sequences is never needed.
    std::unordered_multimap<std::size_t, std::uint32_t> byHash;
    std::vector<std::uint32_t> representative, sizes, groupOf(references);
    for (std::size_t k = 0; k < references; ++k) {
        const std::string sequence = residues(k);
        const std::size_t hash = std::hash<std::string>{}(sequence);
        auto [at, end] = byHash.equal_range(hash);
        while (at != end && residues(representative[at->second]) != sequence) ++at;
        if (at == end) {
            at = byHash.emplace(hash, static_cast<std::uint32_t>(representative.size()));
            representative.push_back(static_cast<std::uint32_t>(k));
            sizes.push_back(0);
        }
        groupOf[k] = at->second;
        ++sizes[at->second];
        if (progress) progress(k);
    }
    first_.assign(sizes.size() + 1, 0);
    for (std::size_t g = 0; g < sizes.size(); ++g) first_[g + 1] = first_[g] + sizes[g];
    members_.resize(references);
    std::vector<std::uint32_t> next(first_.begin(), first_.end() - 1);
    for (std::size_t k = 0; k < references; ++k) members_[next[groupOf[k]]++] = static_cast<std::uint32_t>(k);
}

}  // namespace kadrel
