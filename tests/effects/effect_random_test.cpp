// The effects' random sequence is glibc's rand(), seed for seed, so that the show looks the same
// built against any C library (and the Linux build looks as it always has).
#include "effects/effect_random.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(EffectRandom, FollowsGlibcRandForEverySeedIncludingZeroAndTheLargest) {
    for (unsigned seed : {1u, 0u, 5u, 99u, 2147483647u, 4294967295u}) {
        srand(seed);
        SeedEffectRandom(seed);
        for (int i = 0; i < 2000; ++i) ASSERT_EQ(EffectRandom(), rand()) << "seed " << seed << ", draw " << i;
    }
}
