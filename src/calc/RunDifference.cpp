#include "calc/RunDifference.h"

#include <functional>

#include "calc/RunFingerprint.h"
#include "distances/DistanceModel.h"

namespace kadrel {

std::string RunDifference(const std::string& recorded, const SequenceSet& set1, const SequenceSet& set2,
                          const RunOptions& options) {
    const FingerprintHash sets = SetsHash(set1, set2);
    const auto madeWith = [&](const std::function<void(RunOptions&)>& change) {
        RunOptions other = options;
        change(other);
        return RunFingerprint(sets, other) == recorded;
    };
    if (RunFingerprint(SetsHash(set2, set1), options) == recorded) return "made with the two sets in the other order";
    for (int m = 0; m <= static_cast<int>(DistanceModel::LogDet); ++m) {
        const auto model = static_cast<DistanceModel>(m);
        if (model != options.model && madeWith([&](RunOptions& o) { o.model = model; }))
            return "made with -m " + std::string(ModelName(model)) + ", not -m " + std::string(ModelName(options.model));
    }
    if (madeWith([](RunOptions& o) { o.textbook = !o.textbook; }))
        return options.textbook ? "made without --textbook" : "made with --textbook";
    if (madeWith([](RunOptions& o) { o.bestTies = !o.bestTies; }))
        return options.bestTies ? "made without --ties" : "made with --ties";
    for (const char* aligner : {"t_coffee", "builtin", "pairhmm"}) {
        if (aligner != options.alignerName && madeWith([&](RunOptions& o) { o.alignerName = aligner; }))
            return "made with -a " + std::string(aligner) + ", not -a " + options.alignerName;
    }
    // A handful of counts covers what people type; beyond them the search would cost more than it tells.
    for (unsigned best = 1; best <= 20; ++best) {
        if (best != options.bestCount && madeWith([&](RunOptions& o) { o.bestCount = best; }))
            return "made with --best " + std::to_string(best) + ", not --best " + std::to_string(options.bestCount);
    }
    return "made from other sets, or sets with other contents";
}

}  // namespace kadrel
