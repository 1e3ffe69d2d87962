#pragma once
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "align/Aligner.h"

namespace kadrel {

class TCoffeeAligner;
namespace pairhmm {
class Engine;
}

// t_coffee's two-sequence DNA method in process: the alignment t_coffee would write, with no
// process started and no file written. A pair that t_coffee would take down another path (RNA,
// protein, an empty sequence) goes to the real t_coffee when it is on the search path, and
// fails with the reason otherwise. Align may be called from several threads at once: each call
// borrows an engine of its own, so there are never more engines than threads aligning at once.
class PairHmmAligner : public Aligner {
public:
    PairHmmAligner();
    ~PairHmmAligner() override;
    PairHmmAligner(const PairHmmAligner&) = delete;
    PairHmmAligner& operator=(const PairHmmAligner&) = delete;

    AlignedPair Align(std::string_view firstRecord, std::string_view secondRecord, std::string_view pairName,
                      std::stop_token stop) override;

    // Whether t_coffee's method in process applies to the pair, without aligning it.
    static bool InProcess(std::string_view firstRecord, std::string_view secondRecord);
    // Whether the pairs outside the method can go to the real t_coffee.
    bool HasTCoffee() const { return tcoffee_ != nullptr; }
    // How many pairs went to the real t_coffee so far.
    std::size_t PairsSentToTCoffee() const { return sent_.load(); }

private:
    std::unique_ptr<pairhmm::Engine> Borrow();
    void GiveBack(std::unique_ptr<pairhmm::Engine> engine);

    std::unique_ptr<TCoffeeAligner> tcoffee_;
    std::atomic<std::size_t> sent_{0};
    std::mutex mutex_;
    std::vector<std::unique_ptr<pairhmm::Engine>> idle_;
};

}  // namespace kadrel
