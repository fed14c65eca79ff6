// The game's one random generator. It is the classic linear congruential generator, kept here so that
// every platform draws the same jitter, liveries and crash sounds from the same seed.
#include "game/random.h"

namespace {
// The state before any seeding is 1, as a freshly started C runtime would have it.
uint32_t s_randomState = 1;
}  // namespace

void gameSrand(uint32_t seed) {
    s_randomState = seed;
}

int32_t gameRand() {
    s_randomState = s_randomState * 214013u + 2531011u;
    return static_cast<int32_t>((s_randomState >> 16) & 0x7FFFu);
}

float randomBetween(float lo, float hi) {
    // 3.0518509e-5f is 1/32767 rounded to single precision, so both ends can occur.
    const float r = static_cast<float>(gameRand());
    return lo + r * 3.0518509e-5f * (hi - lo);
}
