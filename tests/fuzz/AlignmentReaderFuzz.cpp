// The aligner's output, as any aligner (or a damaged file given to `kadrel distance`) may write it.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "align/AlignmentReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto source : {kadrel::AlignmentSource::TCoffee, kadrel::AlignmentSource::AnyClustal}) {
        const kadrel::AlignedPair pair = kadrel::ReadAlignedPair(text, source);
        FUZZ_CHECK(std::isfinite(pair.length));
        if (pair.usable) {
            FUZZ_CHECK(pair.failure.empty());
            FUZZ_CHECK(pair.first.size() == pair.length && pair.second.size() == pair.length);
        } else {
            FUZZ_CHECK(!pair.failure.empty());
        }
        // Sites come from within lines: no line end can become a site.
        for (const std::string* sites : {&pair.first, &pair.second, &pair.firstLabel, &pair.secondLabel})
            FUZZ_CHECK(sites->find_first_of("\r\n") == std::string::npos);
    }
    return 0;
}
