#include "align/pairhmm/PairHmmAligner.h"

#include "align/AlignerInput.h"
#include "align/AlignmentReader.h"
#include "align/pairhmm/PairInput.h"
#include "align/pairhmm/TCoffeeMethod.h"
#include "align/tcoffee/TCoffeeAligner.h"

namespace kadrel {
namespace {

// The name a record text gives itself: the first word of its header line.
std::string OwnName(std::string_view record) {
    const auto start = record.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || record[start] != '>') return "(no name)";
    const auto begin = record.find_first_not_of(" \t", start + 1);
    const auto end = begin == std::string_view::npos ? begin : record.find_first_of(" \t\r\n", begin);
    return begin == std::string_view::npos || begin == end ? "(no name)" : std::string(record.substr(begin, end - begin));
}

// The reason speaks of the neutral names the records have in the aligner's input.
std::string InOwnNames(std::string reason, std::string_view first, std::string_view second) {
    for (const auto& [neutral, record] : {std::pair{"'s1'", first}, std::pair{"'s2'", second}}) {
        const auto at = reason.find(neutral);
        if (at == std::string::npos) continue;
        std::string quoted(1, '\'');
        quoted += OwnName(record);
        quoted += '\'';
        reason.replace(at, 4, quoted);
    }
    return reason;
}

}  // namespace

bool PairHmmAligner::InProcess(std::string_view firstRecord, std::string_view secondRecord) {
    return pairhmm::ReadPairInput(ComposeAlignerInput(firstRecord, secondRecord)).offPath.empty();
}

PairHmmAligner::PairHmmAligner() {
    auto tcoffee = std::make_unique<TCoffeeAligner>();
    if (tcoffee->CheckAvailable().empty()) tcoffee_ = std::move(tcoffee);
}

PairHmmAligner::~PairHmmAligner() = default;

std::unique_ptr<pairhmm::Engine> PairHmmAligner::Borrow() {
    const std::lock_guard lock(mutex_);
    if (idle_.empty()) return std::make_unique<pairhmm::Engine>();
    auto engine = std::move(idle_.back());
    idle_.pop_back();
    return engine;
}

void PairHmmAligner::GiveBack(std::unique_ptr<pairhmm::Engine> engine) {
    const std::lock_guard lock(mutex_);
    idle_.push_back(std::move(engine));
}

AlignedPair PairHmmAligner::Align(std::string_view firstRecord, std::string_view secondRecord,
                                  std::string_view pairName, std::stop_token stop) {
    AlignedPair pair;
    if (stop.stop_requested()) {
        pair.failure = "stopped";
        return pair;
    }
    // The very text the t_coffee bridge would hand over, so that the two agree to the byte.
    auto engine = Borrow();
    pairhmm::MethodResult result = engine->Align(ComposeAlignerInput(firstRecord, secondRecord));
    GiveBack(std::move(engine));
    if (result.offPath.empty()) return ReadAlignedPair(result.clustal);
    if (tcoffee_) {
        ++sent_;
        return tcoffee_->Align(firstRecord, secondRecord, pairName, stop);
    }
    pair.failure = InOwnNames(result.offPath, firstRecord, secondRecord) +
                   "; such pairs need the real t_coffee, which is not on the search path (PATH)";
    return pair;
}

}  // namespace kadrel
