#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace kadrel {

// The references of `identify` grouped by sequence, so that the word index holds each distinct
// sequence once: two references are one group when their residues as the aligner reads them
// (SequenceResidues: white space, line ends and gap characters left out; case kept) are the same
// bytes. Every pair a group's sequence would be chosen for is chosen for each of its members, so
// every record is still aligned (or given the reused alignment) and reported.
class ReferenceGroups {
public:
    // `residues(k)`: reference k's residues; `progress(k)` after each reference, when given.
    ReferenceGroups(std::size_t references, const std::function<std::string(std::size_t)>& residues,
                    const std::function<void(std::size_t)>& progress = {});

    std::size_t Groups() const { return first_.size() - 1; }
    std::size_t References() const { return members_.size(); }
    // The references of a group, rising; the first stands for the group.
    std::span<const std::uint32_t> Members(std::size_t group) const {
        return {members_.data() + first_[group], members_.data() + first_[group + 1]};
    }

private:
    std::vector<std::uint32_t> first_;    // where each group's members begin, and their end
    std::vector<std::uint32_t> members_;  // by group, each group's rising
};

}  // namespace kadrel
