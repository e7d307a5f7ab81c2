// The effects' random numbers: one sequence, the same on every system. The C library's rand()
// is not (glibc's and Windows' differ, and so would the particles and the castle's captions);
// this is the sequence glibc's rand() gives, which the show's look was tuned on.
#pragma once

// Starts the sequence anew from `seed`, as srand(seed) does (0 counts as 1). Before any call the
// sequence is that of seed 1.
void SeedEffectRandom(unsigned seed);

// The next number of the sequence, 0 to 2^31 - 1, as rand() gives it.
int EffectRandom();
