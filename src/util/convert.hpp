// Checked conversions from double to integers, defined for every double.
// Converting a double whose integer part does not fit the target type is
// undefined behaviour in C++; these never do it.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace vorlune::util {

// Low 32 bits of the integer part (truncated toward zero), as a two's
// complement integer; 0 for NaN and infinities. For |x| < 2^63 this is what
// a plain cast to int64_t and then to int32_t gives.
inline int32_t WrapToInt32(double x) {
    if (!std::isfinite(x)) return 0;
    double low = std::fmod(std::trunc(x), 4294967296.0);  // exact, |low| < 2^32, sign of x
    if (low < 0) low += 4294967296.0;
    return static_cast<int32_t>(static_cast<uint32_t>(low));
}

// x clamped into the range of T; NaN gives `nan`. x should already be whole
// (rounded or truncated) when the fractional part matters.
template <typename T>
T Saturate(double x, T nan = 0) {
    if (std::isnan(x)) return nan;
    constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());  // rounds up to 2^63 for int64_t
    if (x <= lo) return std::numeric_limits<T>::min();
    if (x >= hi) return std::numeric_limits<T>::max();
    return static_cast<T>(x);
}

inline int32_t RoundEvenSaturated(double x) { return Saturate<int32_t>(std::nearbyint(x)); }  // ties to even (default rounding mode), clamped, NaN 0
inline int32_t TruncSaturated(double x, int32_t nan = 0) { return Saturate<int32_t>(std::trunc(x), nan); }  // toward zero, clamped

// Nearest, ties to even; NaN and values beyond 32 bits give INT32_MIN, the
// processor's "integer indefinite", as a hardware conversion does.
inline int32_t RoundEvenOrIndefinite(double x) {
    const double r = std::nearbyint(x);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

// Colour channel as SDL takes it: the low 8 bits of a script's integer.
inline uint8_t Channel(int32_t value) { return static_cast<uint8_t>(value); }

}  // namespace vorlune::util
