#pragma once
#include <stop_token>
#include <string>
#include <string_view>

#include "align/AlignedPair.h"

namespace kadrel {

// One call: two record texts and a pair name in, an aligned pair out. A failure comes back as
// an unusable AlignedPair with its reason. Align may be called from several threads at once.
class Aligner {
public:
    virtual ~Aligner() = default;
    virtual AlignedPair Align(std::string_view firstRecord, std::string_view secondRecord,
                              std::string_view pairName, std::stop_token stop) = 0;
    // Empty when the aligner can run; otherwise a message telling the user how to make it run.
    virtual std::string CheckAvailable() const { return {}; }
};

}  // namespace kadrel
