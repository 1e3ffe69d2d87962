#pragma once
#include <cmath>
#include <limits>
#include <optional>

// Formula steps that fail (a zero divisor, the logarithm of a number not above 0, any
// non-finite value) give NaN, which every later step carries on, so a failed value and all
// that is computed from it end as NA and never as a number from elsewhere.
namespace kadrel::step {

inline constexpr double kFailed = std::numeric_limits<double>::quiet_NaN();

inline double Div(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b) || b == 0) return kFailed;
    const double r = a / b;
    return std::isfinite(r) ? r : kFailed;
}

inline double Ln(double x) {
    if (!std::isfinite(x) || !(x > 0)) return kFailed;
    return std::log(x);
}

inline std::optional<double> Finished(double x) {
    if (!std::isfinite(x)) return std::nullopt;
    return x;
}

inline double Or(const std::optional<double>& v) { return v ? *v : kFailed; }

}  // namespace kadrel::step
