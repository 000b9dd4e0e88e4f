// Number functions of the script library: random real, rounding and
// truncation to 32-bit integers, and guarded arithmetic that gives 0 instead
// of failing.
#pragma once

#include <cstdint>

namespace vorlune::util {

double Rnd();              // next random real, in [0, 1)
int32_t Round(double x);   // nearest, ties to even; low 32 bits; ScriptError for NaN, infinity, beyond 64 bits
int32_t Int(double x);     // truncation toward zero; low 32 bits; ScriptError like Round
double Sqrt(double x);     // square root; 0 for x < 0 or NaN
double Abs(double x);      // absolute value; 0 for NaN
double Cos(double x);      // cosine (radians); 0 for infinite or NaN x
double Sin(double x);      // sine (radians); 0 for infinite or NaN x
double Exp(double x);      // e^x; 0 when too large for a double or NaN
double Floor(double x);    // 32-bit truncation t, minus 1 when x < t; 0 when x does not fit 64 bits
double Ceil(double x);     // 32-bit truncation t, plus 1 when x > t; 0 when x does not fit 64 bits

}  // namespace vorlune::util
