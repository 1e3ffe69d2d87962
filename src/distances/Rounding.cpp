#include "distances/Rounding.h"

#include <cmath>

namespace kadrel {

double RoundHalfEven(double value, int places) {
    double scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    const double scaled = value * scale;
    if (!std::isfinite(scaled)) return scaled;
    // Done by hand so that the result does not depend on the floating-point rounding mode.
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    double whole = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0)) whole = below + 1;
    return whole / scale;
}

}  // namespace kadrel
