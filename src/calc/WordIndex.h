#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "calc/WordBound.h"

namespace kadrel {

// Every q-letter word of a set of references, with the references that hold it: a direct table
// of 4^q offsets into one list of reference numbers, a reference listed once per occurrence and
// the list of each word in reference order. Built once, read by any number of queries.
class WordIndex {
public:
    // `residues(k)`: reference k's residues as the aligner reads them; called twice for each.
    WordIndex(unsigned q, std::size_t references, const std::function<std::string(std::size_t)>& residues);

    unsigned WordLength() const { return q_; }
    std::size_t References() const { return bases_.size(); }
    std::uint64_t Bases(std::size_t reference) const { return bases_[reference]; }
    std::uint64_t BrokenWindows(std::size_t reference) const { return broken_[reference]; }

    // The words each reference shares with the query, counted as multisets (a word the query
    // holds twice and a reference three times is two), into `shared`, one entry a reference.
    void CountShared(const SequenceWords& query, std::vector<std::uint32_t>& shared) const;

private:
    unsigned q_;
    std::vector<std::uint32_t> offsets_;  // 4^q + 1
    std::vector<std::uint32_t> holders_;
    std::vector<std::uint64_t> bases_, broken_;
};

}  // namespace kadrel
