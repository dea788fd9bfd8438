#pragma once
// Random numbers.
//
// Two generators: our own copy of the classic C-runtime linear congruential
// generator (15-bit results, state*214013 + 2531011) and the game's MT19937.
// Which one a rule draws from is part of that rule, so both are exact and
// deterministic once seeded.
#include <cstddef>
#include <cstdint>

// C-library style generator: 0..32767. Initial state 1 (as if seeded with 1).
int CRand();
void CSRand(uint32_t seed);

// MT19937 (32-bit, 624 words). Unseeded, the first draw seeds it with 5489.
void MTSeed(uint32_t seed);
// Back to the never-seeded state (the next draw seeds with 5489).
void MTResetUnseeded();
uint32_t MTRandom32();
double MTRandomReal();                 // [0, 1): MTDrawToReal(MTRandom32())
// The real of one 32-bit draw: draw / (2^32 - 1), the top draw held just below 1.0.
double MTDrawToReal(uint32_t draw);
uint32_t MTRandomInt(uint32_t n);      // 0..n-1 by rejection; 0 when n is outside 1..32766
bool MTOneChanceIn(uint32_t n);        // probability 1/n; true when n is outside 1..32766

// C-generator range: CRand() / (32767 / n + 1); 0 when n is outside 1..32766.
int32_t RandomInt(int32_t n);
// An index into a list of n entries, every one of which can come. Where RandomInt(n)'s one
// draw already reaches every entry (every n up to 194, and some longer ones) exactly
// RandomInt(n), so seeded results of those lists stay as they are; any other length takes
// two draws (30 bits, three past 2^30 entries) scaled onto 0..n-1. 0 for an empty list.
int32_t RandomIndex(size_t n);

// Normal deviate from the game generator (polar Box-Muller; the second value of
// each pair is kept for the next call).
float RandomGaussian(float mean, float stddev);
// Forget a kept Box-Muller value (used when a run must restart from a known point).
void ResetGaussianCache();

// Percent roll: CRand() / 328, 0..99 (0..98 have 328 chances in 32768, 99 has 296).
int PercentRoll();

// Seeds both generators with the millisecond clock (or a replayed session's seed, see
// LoggedRandomSeed). Called once at start-up.
void SeedRandomGenerators();
