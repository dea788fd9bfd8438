// The two random generators and the formulas built on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <vector>

#include "core/input_log.h"
#include "core/random.h"

namespace {

// The seed that makes the next CRand() return `value`: the state after the step
// must be value << 16, and 214013 is odd, so the step can be undone.
uint32_t SeedForNextCRand(uint32_t value) {
    uint32_t inverse = 214013u;  // Newton's iteration for the inverse modulo 2^32
    for (int i = 0; i < 5; ++i) {
        inverse *= 2u - 214013u * inverse;
    }
    return ((value << 16) - 2531011u) * inverse;
}

}  // namespace

TEST(RandomTest, MTUnseededStartsWithThePublishedSequence) {
    MTResetUnseeded();
    EXPECT_EQ(MTRandom32(), 3499211612u);
    EXPECT_EQ(MTRandom32(), 581869302u);
    EXPECT_EQ(MTRandom32(), 3890346734u);
}

TEST(RandomTest, MTMatchesTheReferenceGeneratorAcrossRegenerations) {
    for (uint32_t seed : {0u, 1u, 5489u, 19650218u, 0xFFFFFFFFu}) {
        MTSeed(seed);
        std::mt19937 reference(seed);
        for (int i = 0; i < 2000; ++i) {  // crosses the 624-word regeneration three times
            ASSERT_EQ(MTRandom32(), reference()) << "seed " << seed << " draw " << i;
        }
    }
    // The published check value: the 10000th output for seed 5489.
    MTSeed(5489u);
    uint32_t last = 0;
    for (int i = 0; i < 10000; ++i) {
        last = MTRandom32();
    }
    EXPECT_EQ(last, 4123659995u);
}

TEST(RandomTest, MTRandomRealScalesTheDrawIntoTheUnitInterval) {
    MTSeed(77u);
    std::mt19937 reference(77u);
    for (int i = 0; i < 100; ++i) {
        const double real = MTRandomReal();
        EXPECT_EQ(real, static_cast<double>(reference()) * 2.3283064370807974e-10);
        EXPECT_GE(real, 0.0);
        EXPECT_LT(real, 1.0);
    }
}

TEST(RandomTest, MTDrawToRealStaysBelowOneAtTheTopDraw) {
    const double kFactor = 2.3283064370807974e-10;  // 1 / (2^32 - 1)
    struct Case {
        uint32_t draw;
        double expected;
    };
    const Case cases[] = {
        {0u, 0.0},
        {1u, kFactor},
        {0x80000000u, 2147483648.0 * kFactor},
        {0xFFFFFFFEu, 4294967294.0 * kFactor},
        // Scaled, the top draw is exactly 1.0; it is held at the value of the draw below it.
        {0xFFFFFFFFu, 4294967294.0 * kFactor},
    };
    ASSERT_EQ(4294967295.0 * kFactor, 1.0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.draw);
        const double real = MTDrawToReal(c.draw);
        EXPECT_EQ(real, c.expected);
        EXPECT_GE(real, 0.0);
        EXPECT_LT(real, 1.0);
    }
    // The generator's reals are exactly the conversion of its draws.
    MTSeed(5u);
    std::vector<uint32_t> draws;
    for (int i = 0; i < 20; ++i) draws.push_back(MTRandom32());
    MTSeed(5u);
    for (uint32_t draw : draws) EXPECT_EQ(MTRandomReal(), MTDrawToReal(draw));
}

TEST(RandomTest, CRandFollowsTheClassicSequence) {
    CSRand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) {
        EXPECT_EQ(CRand(), value);
    }
    // Reseeding restarts the sequence; another seed gives another one.
    CSRand(1);
    EXPECT_EQ(CRand(), 41);
    CSRand(2);
    EXPECT_NE(CRand(), 41);
}

TEST(RandomTest, PercentRollCoversEveryGeneratorValue) {
    std::vector<int> counts(100, 0);
    for (uint32_t value = 0; value < 32768u; ++value) {
        CSRand(SeedForNextCRand(value));
        const int roll = PercentRoll();
        ASSERT_GE(roll, 0);
        ASSERT_LE(roll, 99);
        ++counts[roll];
    }
    for (int p = 0; p < 99; ++p) {
        EXPECT_EQ(counts[p], 328) << "roll " << p;
    }
    EXPECT_EQ(counts[99], 296);
}

TEST(RandomTest, RandomIntUsesTheCGeneratorFormula) {
    CSRand(1);
    // 41, 18467, 6334, 26500, 19169 divided by 32767 / 10 + 1 = 3277.
    const int expected[] = {0, 5, 1, 8, 5};
    for (int value : expected) {
        EXPECT_EQ(RandomInt(10), value);
    }
}

TEST(RandomTest, RandomIntEdgesAndRange) {
    // Out-of-range arguments give 0 and draw nothing.
    for (int32_t n : {0, -1, -32767, 32767, 40000}) {
        CSRand(1);
        EXPECT_EQ(RandomInt(n), 0) << n;
        EXPECT_EQ(CRand(), 41) << "RandomInt(" << n << ") consumed a draw";
    }
    CSRand(123);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(RandomInt(1), 0);
    }
    // The top generator value stays below n.
    for (uint32_t value = 0; value < 32768u; value += 7) {
        CSRand(SeedForNextCRand(value));
        const int32_t r = RandomInt(32766);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 32766);
    }
    CSRand(SeedForNextCRand(32767));
    EXPECT_EQ(RandomInt(32766), 16383);  // 32767 / (32767 / 32766 + 1)
    CSRand(SeedForNextCRand(32767));
    EXPECT_EQ(RandomInt(3), 2);
}

TEST(RandomTest, MTRandomIntRejectsAboveTheRange) {
    MTSeed(4242u);
    std::mt19937 reference(4242u);
    for (uint32_t n : {1u, 2u, 3u, 7u, 100u, 32766u}) {
        const uint32_t limit = 0xFFFFFFFFu / n;
        for (int i = 0; i < 300; ++i) {
            uint32_t x;
            do {
                x = reference() / limit;
            } while (x >= n);
            ASSERT_EQ(MTRandomInt(n), x) << "n " << n;
        }
    }
}

TEST(RandomTest, MTRandomIntEdges) {
    for (uint32_t n : {0u, 32767u, 40000u, 0xFFFFFFFFu}) {
        MTSeed(9u);
        EXPECT_EQ(MTRandomInt(n), 0u) << n;
        std::mt19937 reference(9u);
        EXPECT_EQ(MTRandom32(), reference()) << "MTRandomInt(" << n << ") consumed a draw";
    }
    MTSeed(31u);
    std::set<uint32_t> seen;
    for (int i = 0; i < 3000; ++i) {
        const uint32_t x = MTRandomInt(3);
        ASSERT_LT(x, 3u);
        seen.insert(x);
    }
    EXPECT_EQ(seen.size(), 3u);
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(MTRandomInt(1), 0u);
    }
}

TEST(RandomTest, MTOneChanceInEdgesAndOdds) {
    MTSeed(5u);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_TRUE(MTOneChanceIn(1));
    }
    for (uint32_t n : {0u, 32767u, 40000u}) {
        MTSeed(5u);
        EXPECT_TRUE(MTOneChanceIn(n)) << n;
        std::mt19937 reference(5u);
        EXPECT_EQ(MTRandom32(), reference()) << "MTOneChanceIn(" << n << ") consumed a draw";
    }
    // Same draw as MTRandomInt: true exactly when that would have given 0.
    MTSeed(8u);
    std::vector<bool> chances;
    for (int i = 0; i < 500; ++i) {
        chances.push_back(MTOneChanceIn(4));
    }
    MTSeed(8u);
    int hits = 0;
    for (int i = 0; i < 500; ++i) {
        const bool expected = MTRandomInt(4) == 0;
        ASSERT_EQ(chances[i], expected) << i;
        hits += expected ? 1 : 0;
    }
    EXPECT_GT(hits, 80);
    EXPECT_LT(hits, 170);
}

TEST(RandomTest, GaussianUsesPolarBoxMullerAndKeepsTheSecondValue) {
    const uint32_t seed = 2024u;
    // Reference: the same steps over the reference generator.
    std::mt19937 reference(seed);
    float u;
    float v;
    float r;
    int pairs = 0;
    do {
        u = static_cast<float>(2.0 * (reference() * 2.3283064370807974e-10) - 1.0);
        v = static_cast<float>(2.0 * (reference() * 2.3283064370807974e-10) - 1.0);
        r = v * v + u * u;
        ++pairs;
    } while (!(r > 0.0f && r < 1.0f));
    const float f = static_cast<float>(std::sqrt(-2.0 * std::log(static_cast<double>(r)) / r));

    MTSeed(seed);
    ResetGaussianCache();
    const float first = RandomGaussian(10.0f, 2.0f);
    EXPECT_FLOAT_EQ(first, (f * u) * 2.0f + 10.0f);
    // The kept value is scaled by the second call's own mean and deviation,
    // and the second call draws nothing.
    const float second = RandomGaussian(-1.0f, 0.5f);
    EXPECT_FLOAT_EQ(second, (f * v) * 0.5f - 1.0f);
    EXPECT_EQ(MTRandom32(), reference()) << "draws consumed: " << 2 * pairs << " expected";

    // A third call starts a new pair.
    MTSeed(seed);
    ResetGaussianCache();
    RandomGaussian(0.0f, 1.0f);
    RandomGaussian(0.0f, 1.0f);
    const float third = RandomGaussian(0.0f, 1.0f);
    MTSeed(seed);
    ResetGaussianCache();
    RandomGaussian(0.0f, 1.0f);
    ResetGaussianCache();  // forgetting the kept value makes the next call start a new pair
    EXPECT_FLOAT_EQ(RandomGaussian(0.0f, 1.0f), third);
    ResetGaussianCache();
}

TEST(RandomTest, GaussianSpreadLooksNormal) {
    MTSeed(99u);
    ResetGaussianCache();
    double sum = 0.0;
    double squares = 0.0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        const double x = RandomGaussian(5.0f, 2.0f);
        sum += x;
        squares += x * x;
    }
    const double mean = sum / n;
    const double variance = squares / n - mean * mean;
    EXPECT_NEAR(mean, 5.0, 0.1);
    EXPECT_NEAR(std::sqrt(variance), 2.0, 0.1);
    ResetGaussianCache();
}

TEST(RandomTest, SeedRandomGeneratorsSeedsBothFromTheLoggedClock) {
    SetFixedFrameTime(16);
    AdvanceFakeClock(1234);
    const uint32_t ticks = LoggedGetTicks();
    SeedRandomGenerators();
    const int c1 = CRand();
    const int c2 = CRand();
    const uint32_t m1 = MTRandom32();
    SetFixedFrameTime(0);
    ResetInputLog();

    CSRand(ticks);
    EXPECT_EQ(c1, CRand());
    EXPECT_EQ(c2, CRand());
    MTSeed(ticks);
    EXPECT_EQ(m1, MTRandom32());
}

TEST(RandomTest, RandomIndexMatchesRandomIntWhereItsOneDrawReachesEveryEntry) {
    // Lengths whose one draw 0..32767 / (32767 / n + 1) reaches n - 1: the very draws of
    // RandomInt, so seeded results of the lists the game has stay as they were.
    for (int32_t n : {1, 2, 10, 100, 194, 196, 256, 4096}) {
        for (uint32_t seed : {1u, 77u, 4096u}) {
            CSRand(seed);
            std::vector<int32_t> expected;
            for (int i = 0; i < 20; ++i) expected.push_back(RandomInt(n));
            CSRand(seed);
            for (int i = 0; i < 20; ++i) ASSERT_EQ(RandomIndex(static_cast<size_t>(n)), expected[i]) << n;
        }
    }
    CSRand(5);
    const int firstDraw = CRand();
    CSRand(5);
    EXPECT_EQ(RandomIndex(0), 0);
    EXPECT_EQ(CRand(), firstDraw) << "an empty list draws nothing";
}

TEST(RandomTest, RandomIndexDrawsEveryEntryOfListsTheOneDrawCannotCover) {
    // RandomInt(195) never gives 194, RandomInt(16383) never gives anything past 16382 / 3;
    // every entry of these lists must come up.
    for (size_t n : {size_t{195}, size_t{201}, size_t{600}, size_t{9000}, size_t{16383}, size_t{16384},
                     size_t{32767}}) {
        CSRand(static_cast<uint32_t>(n));
        std::vector<bool> seen(n, false);
        size_t missing = n;
        for (int draw = 0; draw < 3000000 && missing > 0; ++draw) {
            const int32_t r = RandomIndex(n);
            ASSERT_GE(r, 0) << n;
            ASSERT_LT(static_cast<size_t>(r), n) << n;
            if (!seen[static_cast<size_t>(r)]) {
                seen[static_cast<size_t>(r)] = true;
                --missing;
            }
        }
        EXPECT_EQ(missing, 0u) << n << " entries, last one seen: " << seen[n - 1];
    }
    // Very long lists: inside and spread to both ends (past 2^30 a third draw is needed).
    for (size_t n : {size_t{1000000}, size_t{1} << 30, (size_t{1} << 30) + 7, size_t{0x7FFFFFFF}}) {
        CSRand(static_cast<uint32_t>(n));
        size_t highest = 0;
        size_t lowest = n;
        for (int i = 0; i < 4000; ++i) {
            const int32_t r = RandomIndex(n);
            ASSERT_GE(r, 0) << n;
            ASSERT_LT(static_cast<size_t>(r), n) << n;
            highest = std::max(highest, static_cast<size_t>(r));
            lowest = std::min(lowest, static_cast<size_t>(r));
        }
        EXPECT_GT(highest, n - n / 100) << n;
        EXPECT_LT(lowest, n / 100) << n;
    }
}
