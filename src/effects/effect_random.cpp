#include "effects/effect_random.h"

#include <cstdint>

// glibc's default generator (TYPE_3): an additive feedback generator over 31 words,
// x[i] = x[i-3] + x[i-31] mod 2^32, answering x[i] >> 1. Seeding fills the words from the seed with
// the minimal standard generator (16807 x mod 2^31 - 1) and throws the first 310 answers away.
static const int kWords = 31;
static const int kSeparation = 3;
static uint32_t Words[kWords];
static int Front = kSeparation;
static int Rear = 0;
static bool Seeded = false;

static int32_t Step() {
    Words[Front] += Words[Rear];
    const uint32_t result = Words[Front] >> 1;
    Front = (Front + 1) % kWords;
    Rear = (Rear + 1) % kWords;
    return (int32_t)result;
}

void SeedEffectRandom(unsigned seed) {
    int32_t word = seed == 0 ? 1 : (int32_t)seed;
    Words[0] = (uint32_t)word;
    for (int i = 1; i < kWords; ++i) {
        // 16807 * word mod (2^31 - 1) without overflow (Schrage's method), as glibc computes it.
        const int32_t high = word / 127773;
        const int32_t low = word % 127773;
        word = 16807 * low - 2836 * high;
        if (word < 0) word += 2147483647;
        Words[i] = (uint32_t)word;
    }
    Front = kSeparation;
    Rear = 0;
    for (int i = 0; i < kWords * 10; ++i) Step();
    Seeded = true;
}

int EffectRandom() {
    if (!Seeded) SeedEffectRandom(1);
    return Step();
}
