#include "align/tcoffee/TCoffeeMemory.h"

namespace kadrel {

// Measured with bench/tcoffee_memory.sh (GNU time's maximum resident set of t_coffee
// Version_13.41.0 from Debian 12, in the environment kadrel gives it, pairs about 10% apart):
//
//   lengths      peak MiB   fit
//   250 x 250       485      485
//   500 x 500       512      512
//   1000 x 1000     617      618
//   2000 x 2000    1041     1041
//   3000 x 3000    1745     1746
//   4000 x 4000    2734     2734
//   5000 x 5000    4005     4003
//   1000 x 4000    1042     1041   (the product of the lengths counts, not the longer one)
//
// Least squares: 476.5 MiB + 148 bytes per pair of residues, within 0.1% of every point;
// rounded up below. At 20,000 x 20,000 that is about 56 GiB.
double TCoffeePeakBytes(std::size_t length1, std::size_t length2) {
    constexpr double kStart = 480.0 * 1024 * 1024;
    constexpr double kPerCell = 150.0;
    return kStart + kPerCell * static_cast<double>(length1) * static_cast<double>(length2);
}

}  // namespace kadrel
