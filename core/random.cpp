#include "core/random.h"

#include <cmath>

#include "core/input_log.h"

// ---------------------------------------------------------------------------
// C-library style generator
// ---------------------------------------------------------------------------

namespace {
uint32_t crandState = 1;
}

int CRand() {
    crandState = crandState * 214013u + 2531011u;
    return static_cast<int>((crandState >> 16) & 0x7FFFu);
}

void CSRand(uint32_t seed) {
    crandState = seed;
}

int32_t RandomInt(int32_t n) {
    if (n < 1 || n > 32766) {
        return 0;
    }
    return CRand() / (32767 / n + 1);
}

namespace {
// True when RandomInt(n)'s one draw can give every value 0..n-1: the top draw 32767 divided
// by the step must still reach n - 1.
bool OneDrawReachesAll(size_t n) {
    if (n > 32766) return false;
    const size_t step = 32767 / n + 1;
    return (n - 1) * step <= 32767;
}
}  // namespace

int32_t RandomIndex(size_t n) {
    if (n == 0) return 0;
    if (OneDrawReachesAll(n)) return RandomInt(static_cast<int32_t>(n));
    // Lists longer than int32 can index are cut to that length.
    const uint64_t count = n > 0x7FFFFFFFu ? 0x7FFFFFFFu : n;
    uint64_t wide = static_cast<uint64_t>(CRand()) << 15;
    wide |= static_cast<uint64_t>(CRand());
    if (count <= (uint64_t{1} << 30)) return static_cast<int32_t>((wide * count) >> 30);
    // Past 2^30 entries 30 bits cannot name every one: a third draw makes 45 bits, and
    // (wide * count) >> 45 is taken in two halves so the product stays inside 64 bits.
    const uint64_t low = static_cast<uint64_t>(CRand());
    const uint64_t scaled = wide * count + ((low * count) >> 15);
    return static_cast<int32_t>(scaled >> 30);
}

int PercentRoll() {
    return CRand() / 328;
}

// ---------------------------------------------------------------------------
// MT19937
// ---------------------------------------------------------------------------

namespace {
constexpr int kMTWords = 624;
constexpr int kMTShift = 397;
constexpr uint32_t kMTMatrix = 0x9908B0DFu;
constexpr uint32_t kMTUpper = 0x80000000u;
constexpr uint32_t kMTLower = 0x7FFFFFFFu;

uint32_t mtState[kMTWords];
int mtIndex = kMTWords + 1;  // not seeded yet: the first draw seeds with 5489

void MTRegenerate() {
    for (int i = 0; i < kMTWords; ++i) {
        uint32_t y = (mtState[i] & kMTUpper) | (mtState[(i + 1) % kMTWords] & kMTLower);
        uint32_t next = mtState[(i + kMTShift) % kMTWords] ^ (y >> 1);
        if (y & 1u) {
            next ^= kMTMatrix;
        }
        mtState[i] = next;
    }
    mtIndex = 0;
}

// The generator's range check shared by MTRandomInt and MTOneChanceIn.
uint32_t MTDrawBelow(uint32_t n) {
    const uint32_t limit = 0xFFFFFFFFu / n;
    uint32_t x;
    do {
        x = MTRandom32() / limit;
    } while (x >= n);
    return x;
}

// Kept second value of the last Box-Muller pair.
bool gaussianCached = false;
float gaussianValue = 0.0f;
}  // namespace

void MTSeed(uint32_t seed) {
    mtState[0] = seed;
    for (int i = 1; i < kMTWords; ++i) {
        const uint32_t prev = mtState[i - 1];
        mtState[i] = 1812433253u * (prev ^ (prev >> 30)) + static_cast<uint32_t>(i);
    }
    mtIndex = kMTWords;
}

void MTResetUnseeded() {
    mtIndex = kMTWords + 1;
}

uint32_t MTRandom32() {
    if (mtIndex >= kMTWords) {
        if (mtIndex == kMTWords + 1) {
            MTSeed(5489u);
        }
        MTRegenerate();
    }
    uint32_t y = mtState[mtIndex++];
    y ^= (y >> 11);
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= (y >> 18);
    return y;
}

double MTDrawToReal(uint32_t draw) {
    // The factor is 1 / (2^32 - 1), so the top draw alone would give exactly 1.0;
    // it is held just below 1 to keep the result in [0, 1).
    const double real = static_cast<double>(draw) * 2.3283064370807974e-10;
    return real < 1.0 ? real : 0.9999999997671694;  // the value of the draw 0xFFFFFFFE
}

double MTRandomReal() {
    return MTDrawToReal(MTRandom32());
}

uint32_t MTRandomInt(uint32_t n) {
    if (n < 1 || n > 32766) {
        return 0;
    }
    return MTDrawBelow(n);
}

bool MTOneChanceIn(uint32_t n) {
    if (n < 1 || n > 32766) {
        return true;
    }
    return MTDrawBelow(n) == 0;
}

float RandomGaussian(float mean, float stddev) {
    if (gaussianCached) {
        gaussianCached = false;
        return gaussianValue * stddev + mean;
    }
    float u;
    float v;
    float r;
    do {
        u = static_cast<float>(2.0 * MTRandomReal() - 1.0);
        v = static_cast<float>(2.0 * MTRandomReal() - 1.0);
        r = v * v + u * u;
    } while (!(r > 0.0f && r < 1.0f));
    const float f = static_cast<float>(std::sqrt(-2.0 * std::log(static_cast<double>(r)) / r));
    gaussianValue = f * v;
    gaussianCached = true;
    return (f * u) * stddev + mean;
}

void ResetGaussianCache() {
    gaussianCached = false;
    gaussianValue = 0.0f;
}

// ---------------------------------------------------------------------------
// Seeding
// ---------------------------------------------------------------------------

void SeedRandomGenerators() {
    // Through the input layer: the clock, or the seed of the session being replayed; a
    // recording writes the seed down.
    const uint32_t seed = LoggedRandomSeed();
    CSRand(seed);
    MTSeed(seed);
}
