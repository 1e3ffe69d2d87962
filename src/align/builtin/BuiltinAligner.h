#pragma once
#include <memory>
#include <mutex>
#include <stop_token>
#include <string_view>
#include <vector>

#include "align/Aligner.h"

namespace kadrel {

// Aligns a pair in process, end to end, with affine gaps: a mismatch costs 3, a gap 5 + 2 per
// site. The residues are read as t_coffee reads them and come back exactly as given; scoring
// ignores case, and anything but A, C, G, T mismatches everything, itself included. A pair goes
// through a banded SIMD dynamic programme that proves its band holds every optimal alignment;
// where it cannot, through parasail's over the whole matrix. The wavefront aligner (WFA2-lib)
// takes the closest pairs, under about 3% apart, where it is faster, and close pairs too long
// for the band's 16-bit lanes.
// Align may be called from several threads at once: each call borrows an engine of its own,
// reused by later calls, so there are never more engines than threads aligning at once.
class BuiltinAligner : public Aligner {
public:
    // Which programme aligns pairs; the full matrix (and the wavefront aligner for close pairs, as
    // before the band) only to measure the banded one against.
    enum class Divergent { Banded, FullMatrix };
    explicit BuiltinAligner(Divergent divergent = Divergent::Banded);
    ~BuiltinAligner() override;
    BuiltinAligner(const BuiltinAligner&) = delete;
    BuiltinAligner& operator=(const BuiltinAligner&) = delete;

    AlignedPair Align(std::string_view firstRecord, std::string_view secondRecord, std::string_view pairName,
                      std::stop_token stop) override;

private:
    class Engine;
    std::unique_ptr<Engine> Borrow();
    void GiveBack(std::unique_ptr<Engine> engine);

    Divergent divergent_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Engine>> idle_;
};

}  // namespace kadrel
