#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace kadrel {

// At most 15 significant digits, no exponent, no trailing zeros, "0" for negative zero.
std::string NumberText(double value, std::string_view decimalSeparator = ".");

// As NumberText, but "NA" for a missing value.
std::string ValueText(const std::optional<double>& value, std::string_view decimalSeparator = ".");

// The decimal separator of the C library's current LC_NUMERIC locale.
std::string LocaleDecimalSeparator();

}  // namespace kadrel
