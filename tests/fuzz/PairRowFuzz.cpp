// A row from arbitrary aligned text: the two halves of the input are the two aligned sequences.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "distances/PairRow.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    kadrel::AlignedPair pair;
    pair.first = text.substr(0, size / 2);
    pair.second = text.substr(size / 2, size / 2);
    pair.length = static_cast<double>(size / 2);
    pair.usable = true;
    for (int m = 0; m <= static_cast<int>(kadrel::DistanceModel::LogDet); ++m) {
        const auto model = static_cast<kadrel::DistanceModel>(m);
        for (const bool textbook : {false, true}) {
            const kadrel::PairRow row = kadrel::ComputePairRow(pair, model, textbook);
            for (const kadrel::Value* v : {&row.length, &row.differences, &row.pDistance, &row.gaps,
                                           &row.transitions, &row.transversions, &row.tsTvRatio,
                                           &row.modelDistance})
                FUZZ_CHECK(!*v || std::isfinite(**v));
            FUZZ_CHECK(!row.pDistance || (*row.pDistance >= 0 && *row.pDistance <= 1));
            FUZZ_CHECK(!row.differences || *row.differences <= pair.length);
            FUZZ_CHECK(model != kadrel::DistanceModel::None || !row.modelDistance);
            // Every row keeps its columns, whatever failed.
            const std::string line = kadrel::PairRowText("a", "b", row, model, ",");
            const auto tabs = std::count(line.begin(), line.end(), '\t');
            FUZZ_CHECK(tabs == (model == kadrel::DistanceModel::None ? 8 : 9));
            FUZZ_CHECK(line.ends_with("\r\n"));
        }
    }
    return 0;
}
