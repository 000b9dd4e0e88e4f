#include "util/numbers.hpp"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "core/script_error.hpp"
#include "util/convert.hpp"
#include "util/random.hpp"

namespace vorlune::util {
namespace {

// Doubles in [-2^63, 2^63) convert to int64_t; anything else (NaN, infinities,
// larger magnitudes) would be undefined behaviour, so callers check first.
constexpr double kInt64Low = -0x1p63;
constexpr double kInt64High = 0x1p63;

bool FitsInt64(double integral) { return integral >= kInt64Low && integral < kInt64High; }

// Text of a double independent of the locale: "nan", "inf", "1e+20".
std::string NumberText(double x) {
    if (std::isnan(x)) return "nan";  // whatever its sign bit
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
    return std::string(buffer, result.ptr);
}

// round and int are not guarded: a value with no 64-bit integer is a fault
// of the script and reaches it as an error it can catch.
int32_t ToInt32OrRaise(const char* function, double integral) {
    if (!FitsInt64(integral)) {
        throw core::ScriptError(std::string(function) + ": cannot convert " + NumberText(integral) +
                                " to an integer");
    }
    return WrapToInt32(integral);
}

// The 32-bit truncation floor and ceil start from; none when x has no 64-bit
// integer (both are guarded and then give 0).
std::optional<int32_t> Truncated32(double x) {
    double integral = std::trunc(x);
    if (!FitsInt64(integral)) return std::nullopt;
    return WrapToInt32(integral);
}

int32_t Wrap32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

}  // namespace

double Rnd() { return RandomReal(); }

// nearbyint rounds in the default mode, to nearest with ties to even.
int32_t Round(double x) { return ToInt32OrRaise("round", std::nearbyint(x)); }

int32_t Int(double x) { return ToInt32OrRaise("int", std::trunc(x)); }

double Sqrt(double x) { return x >= 0 ? std::sqrt(x) : 0.0; }  // false for NaN too

double Abs(double x) { return std::isnan(x) ? 0.0 : std::fabs(x); }

double Cos(double x) { return std::isfinite(x) ? std::cos(x) : 0.0; }

double Sin(double x) { return std::isfinite(x) ? std::sin(x) : 0.0; }

double Exp(double x) {
    if (std::isnan(x)) return 0.0;
    double y = std::exp(x);
    return std::isinf(y) ? 0.0 : y;  // overflow gives 0; underflow is already 0
}

double Floor(double x) {
    std::optional<int32_t> t = Truncated32(x);
    if (!t) return 0.0;
    return x - *t < 0 ? Wrap32(int64_t{*t} - 1) : *t;
}

double Ceil(double x) {
    std::optional<int32_t> t = Truncated32(x);
    if (!t) return 0.0;
    return x - *t > 0 ? Wrap32(int64_t{*t} + 1) : *t;
}

}  // namespace vorlune::util
