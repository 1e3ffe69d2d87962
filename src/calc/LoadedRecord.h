#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "calc/SequenceSet.h"

namespace kadrel {

// A record as the run uses it; `problem` set means its pairs fail without being aligned.
struct LoadedRecord {
    SequenceRecord record;
    std::optional<std::string> problem;
    std::optional<std::string> note;  // a warning that does not keep its pairs from being compared
    std::uint32_t sequence = 0;       // its number among the run's distinct sequences
};

// Record `index` of a set with what the run must say of it: a file that cannot be read, or a
// text the aligner cannot take, fails its pairs; a note is only told.
// `textbook`: the run compares by the published forms, which leave unknown characters out.
LoadedRecord LoadForRun(const SequenceSet& set, std::size_t index, bool textbook = false);

}  // namespace kadrel
