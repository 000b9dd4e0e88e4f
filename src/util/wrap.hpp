// 32-bit integer arithmetic that wraps around on overflow, as the script
// functions' integer formulas are defined. Computed unsigned, where the wrap
// is well defined, and converted back (modular since C++20).
#pragma once

#include <cstdint>

namespace vorlune::util {

constexpr int32_t WrapAdd(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }  // a + b mod 2^32
constexpr int32_t WrapSub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }  // a - b mod 2^32
constexpr int32_t WrapMul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }  // a * b mod 2^32

}  // namespace vorlune::util
