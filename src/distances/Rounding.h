#pragma once

namespace kadrel {

// Multiplies by 10^places, rounds half to even, divides again: the one rounding rule of every
// printed value. NaN stays NaN.
double RoundHalfEven(double value, int places);

}  // namespace kadrel
