#include "util/random.hpp"

#include <ctime>

namespace vorlune::util {
namespace {

constexpr int kN = 624;
constexpr int kM = 397;
constexpr uint32_t kMatrixA = 0x9908B0DFu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;

// Generator state; seeded with 5489 until the start-up seeds it from the clock.
struct Generator {
    uint32_t mt[kN];
    int index = kN + 1;
} gen;

void Twist() {
    for (int k = 0; k < kN; ++k) {
        uint32_t y = (gen.mt[k] & kUpperMask) | (gen.mt[(k + 1) % kN] & kLowerMask);
        gen.mt[k] = gen.mt[(k + kM) % kN] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    gen.index = 0;
}

}  // namespace

void SeedRandom(uint32_t seed) {
    gen.mt[0] = seed;
    for (int i = 1; i < kN; ++i) {
        gen.mt[i] = 1812433253u * (gen.mt[i - 1] ^ (gen.mt[i - 1] >> 30)) + static_cast<uint32_t>(i);
    }
    gen.index = kN;
}

void SeedRandomFromClock() { SeedRandom(static_cast<uint32_t>(std::time(nullptr))); }

uint32_t RandomUint32() {
    if (gen.index > kN) SeedRandom(5489u);
    if (gen.index >= kN) Twist();
    uint32_t y = gen.mt[gen.index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

double RandomReal() { return static_cast<double>(RandomUint32()) * (1.0 / 4294967296.0); }

int32_t RandomInt(int32_t n) {
    int64_t m = n >= 0 ? n : static_cast<int64_t>(n) + 1;
    int64_t product = static_cast<int64_t>(RandomUint32()) * m;
    // High 32 bits of the 64-bit signed product (arithmetic shift).
    return static_cast<int32_t>(product >> 32);
}

int64_t RandomInt64(int64_t n) {
    uint32_t r1 = RandomUint32();
    uint32_t r2 = RandomUint32();
    int64_t v = (static_cast<int64_t>(r2 & 0x7FFFFFFFu) << 32) | r1;
    if (n == 0) return 0;
    return v % n;  // v is non-negative, so the result lies in 0 .. |n| - 1
}

}  // namespace vorlune::util
