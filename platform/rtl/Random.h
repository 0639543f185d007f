#pragma once
// The runtime's shared pseudo-random generator: a 32-bit linear congruential sequence
// that Randomize seeds from the clock and tests may seed through RandSeed.
#include <cstdint>

extern uint32_t RandSeed;
// A uniform integer from 0 to Range - 1 (0 when Range is not positive).
int Random(int Range);
// A uniform value in [0, 1).
double RandomFloat();
void Randomize();
