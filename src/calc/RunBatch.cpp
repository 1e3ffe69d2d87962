#include "calc/RunBatch.h"

namespace kadrel {

bool AlignPair(const LoadedRecord& first, const LoadedRecord& second, const std::string& pairName, Aligner& aligner,
               DistanceModel model, bool textbook, std::stop_token stop, PairResult& result) {
    if (stop.stop_requested()) {
        result.interrupted = true;
        return false;
    }
    const bool alignable = !first.problem && !second.problem;
    if (!alignable) {
        result.row = ComputePairRow(AlignedPair{}, model);
    } else {
        try {
            const auto pair = aligner.Align(first.record.text, second.record.text, pairName, stop);
            result.row = ComputePairRow(pair, model, textbook);
            if (!pair.usable) {
                result.failure = pair.failure;
            } else {
                result.baselessSide = BaselessSequence(pair);
            }
        } catch (const std::exception& e) {
            result.row = ComputePairRow(AlignedPair{}, model);
            result.failure = e.what();
        }
    }
    if (stop.stop_requested()) result.interrupted = true;
    return alignable;
}

}  // namespace kadrel
