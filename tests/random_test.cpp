// The process-wide MT19937 generator and the draws derived from it.
#include <cstdint>
#include <random>

#include <gtest/gtest.h>

#include "util/random.hpp"

namespace vorlune::test {
namespace {

TEST(Random, StandardSeedGivesTheReferenceSequence) {
    util::SeedRandom(5489u);
    const uint32_t expected[] = {3499211612u, 581869302u, 3890346734u, 3586334585u, 545404204u,
                                 4161255391u, 3922919429u, 949333985u,  2715962298u, 1323567403u};
    for (uint32_t value : expected) EXPECT_EQ(util::RandomUint32(), value);
}

TEST(Random, MatchesTheStandardLibraryGeneratorOverManyTwists) {
    for (uint32_t seed : {0u, 1u, 5489u, 1700000000u, 0xFFFFFFFFu}) {
        util::SeedRandom(seed);
        std::mt19937 reference(seed);
        for (int i = 0; i < 5000; ++i) ASSERT_EQ(util::RandomUint32(), reference()) << "seed " << seed << " draw " << i;
    }
}

TEST(Random, RealIsTheOutputTimesTwoToTheMinus32) {
    util::SeedRandom(5489u);
    EXPECT_EQ(util::RandomReal(), 3499211612.0 / 4294967296.0);
    // Exact multiples of 2^-32 below 1, drawn from the same sequence.
    util::SeedRandom(42u);
    std::mt19937 reference(42u);
    for (int i = 0; i < 100000; ++i) {
        double r = util::RandomReal();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        ASSERT_EQ(r * 4294967296.0, static_cast<double>(reference()));
    }
}

TEST(Random, IntegerDrawTakesTheHighHalfOfTheSignedProduct) {
    // The first output of seed 5489 is r = 3499211612.
    struct Case {
        int32_t n;
        int32_t expected;
    };
    const Case cases[] = {
        {10, 8},                           // floor(r * 10 / 2^32)
        {1, 0},
        {0, 0},
        {-1, 0},                           // m = n + 1 = 0
        {-10, -8},                         // m = -9: floor(-9 r / 2^32), arithmetic shift
        {2147483647, 1749605805},
        {-2147483647 - 1, -1749605806},    // m = -2^31 + 1
    };
    for (const Case& c : cases) {
        util::SeedRandom(5489u);
        EXPECT_EQ(util::RandomInt(c.n), c.expected) << "n = " << c.n;
        EXPECT_EQ(util::RandomUint32(), 581869302u) << "R(" << c.n << ") takes exactly one output";
    }
}

TEST(Random, SixtyFourBitDrawCombinesTwoOutputs) {
    // v = (r2 mod 2^31) * 2^32 + r1 with r1 = 3499211612, r2 = 581869302.
    const int64_t v = 2499109626135559004;
    struct Case {
        int64_t n;
        int64_t expected;
    };
    const Case cases[] = {{1000, 4}, {-1000, 4}, {7, 1}, {(int64_t{1} << 62) + 3, v}, {1, 0}, {0, 0},
                          {INT64_MIN, v}};
    for (const Case& c : cases) {
        util::SeedRandom(5489u);
        EXPECT_EQ(util::RandomInt64(c.n), c.expected) << "n = " << c.n;
        EXPECT_EQ(util::RandomUint32(), 3890346734u) << "R64(" << c.n << ") takes exactly two outputs";
    }
}

}  // namespace
}  // namespace vorlune::test
