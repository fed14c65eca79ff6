// The game's own random generator: state * 214013 + 2531011 (mod 2^32), result bits 16 to 30.
// Seeded once at start-up. Never the C library's rand.
#pragma once
#include <cstdint>

void gameSrand(uint32_t seed);
int32_t gameRand();
// lo + r * (1/32767 in single precision) * (hi - lo): both ends can occur.
float randomBetween(float lo, float hi);
