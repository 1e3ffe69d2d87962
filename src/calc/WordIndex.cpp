#include "calc/WordIndex.h"

#include <algorithm>
#include <stdexcept>

namespace kadrel {

WordIndex::WordIndex(unsigned q, std::size_t references, const std::function<std::string(std::size_t)>& residues)
    : q_(q), offsets_((std::size_t{1} << (2 * q)) + 1, 0), bases_(references), broken_(references) {
    if (references > UINT32_MAX) throw std::length_error("more references than the word index numbers");
    // First the words of each, then each reference in its words' places, so that every list comes
    // out in reference order without a sort.
    std::uint64_t total = 0;
    for (std::size_t k = 0; k < references; ++k) {
        const SequenceWords words = ReadWords(residues(k), q);
        bases_[k] = words.bases;
        broken_[k] = words.brokenWindows;
        for (const std::uint32_t word : words.words) ++offsets_[word + 1];
        total += words.words.size();
    }
    if (total > UINT32_MAX) throw std::length_error("the references hold more words than the word index numbers");
    for (std::size_t w = 1; w < offsets_.size(); ++w) offsets_[w] += offsets_[w - 1];
    holders_.resize(total);
    std::vector<std::uint32_t> next(offsets_.begin(), offsets_.end() - 1);
    for (std::size_t k = 0; k < references; ++k)
        for (const std::uint32_t word : ReadWords(residues(k), q).words)
            holders_[next[word]++] = static_cast<std::uint32_t>(k);
}

void WordIndex::CountShared(const SequenceWords& query, std::vector<std::uint32_t>& shared) const {
    shared.assign(bases_.size(), 0);
    std::vector<std::uint32_t> words = query.words;
    std::sort(words.begin(), words.end());
    for (std::size_t w = 0; w < words.size();) {
        std::size_t end = w;
        while (end < words.size() && words[end] == words[w]) ++end;
        const std::uint32_t inQuery = static_cast<std::uint32_t>(end - w);
        const std::uint32_t* holder = holders_.data() + offsets_[words[w]];
        const std::uint32_t* last = holders_.data() + offsets_[words[w] + 1];
        while (holder != last) {
            const std::uint32_t reference = *holder;
            std::uint32_t inReference = 0;
            for (; holder != last && *holder == reference; ++holder) ++inReference;
            shared[reference] += std::min(inQuery, inReference);
        }
        w = end;
    }
}

}  // namespace kadrel
