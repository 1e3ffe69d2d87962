#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kadrel {

// Kept results by default: under 60 MB of rows, enough for every pair of two sets of 400 distinct
// sequences, or for the rows of the last few hundred queries against a large reference set.
constexpr std::size_t kDefaultReuseLimit = 200000;

// One number per distinct sequence of a run. Two records hold the same sequence when their
// sequence lines are the same bytes once white space and line ends are taken out; case counts.
// Each distinct sequence is kept as a hash and a view of one record text holding it, so a large
// set costs some 50 bytes a sequence rather than a copy of it.
class SequenceIds {
public:
    // `lasting`: the text stays where it is, unchanged, as long as this object; then it is not copied.
    std::uint32_t IdOf(std::string_view recordText, bool lasting = false);

private:
    std::unordered_multimap<std::size_t, std::uint32_t> ids_;  // by the hash of the sequence
    std::vector<std::string_view> texts_;                      // a record text of each id
    std::deque<std::string> owned_;                            // the texts that do not last
};

// The key of an ordered pair of sequences: the aligner is not asked whether (a, b) and (b, a)
// align alike, so they are kept apart.
inline std::uint64_t PairKey(std::uint32_t first, std::uint32_t second) {
    return (std::uint64_t{first} << 32) | second;
}

// The results of pairs already handed to the aligner, so that a pair of the same two sequences
// takes the same result. At most `limit` are kept; the one used longest ago goes first. A result
// is shared, so one that leaves the store stays with the pairs already given it.
template <class Result>
class ReuseStore {
public:
    explicit ReuseStore(std::size_t limit) : limit_(limit) {}

    // The result kept under key, now the most recently used; null when there is none.
    std::shared_ptr<Result> Find(std::uint64_t key) {
        const auto found = index_.find(key);
        if (found == index_.end()) return nullptr;
        order_.splice(order_.begin(), order_, found->second);
        return found->second->second;
    }

    void Keep(std::uint64_t key, std::shared_ptr<Result> result) {
        if (limit_ == 0) return;
        if (index_.size() == limit_) {
            index_.erase(order_.back().first);
            order_.pop_back();
        }
        order_.emplace_front(key, std::move(result));
        index_[key] = order_.begin();
    }

private:
    using Entry = std::pair<std::uint64_t, std::shared_ptr<Result>>;
    std::size_t limit_;
    std::list<Entry> order_;  // the most recently used first
    std::unordered_map<std::uint64_t, typename std::list<Entry>::iterator> index_;
};

}  // namespace kadrel
