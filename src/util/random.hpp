// The process-wide random generator: MT19937 (32-bit Mersenne Twister) with
// the standard init_genrand seeding and tempering.
#pragma once

#include <cstdint>

namespace vorlune::util {

void SeedRandom(uint32_t seed);      // init_genrand(seed)
void SeedRandomFromClock();          // seed with the current time in whole seconds
uint32_t RandomUint32();             // next tempered output
double RandomReal();                 // r * 2^-32, in [0, 1)
int32_t RandomInt(int32_t n);        // R(n): high 32 bits of r * m (m = n, or n + 1 when n < 0)
int64_t RandomInt64(int64_t n);      // R64(n): ((r2 mod 2^31) * 2^32 + r1) mod n, sign of the dividend; 0 for n = 0

}  // namespace vorlune::util
