#pragma once
#include <cstddef>

namespace kadrel {

// The peak memory, in bytes, that t_coffee may reach aligning two sequences of these lengths
// (in residues), as measured on this project's machines: it grows with the product of the
// lengths.
double TCoffeePeakBytes(std::size_t length1, std::size_t length2);

}  // namespace kadrel
