// Deterministic noise for the procedural pictures: integer hashing, so the same seed gives
// the same picture on every build.
#pragma once

#include <cstdint>

uint32_t HashInts(uint32_t a, uint32_t b, uint32_t seed);
float HashUnit(uint32_t a, uint32_t b, uint32_t seed);  // 0..1

// Smooth value noise on a lattice of `period` cells that tiles across the period.
float TiledNoise(float x, float y, int period, uint32_t seed);
// Sum of `octaves` tiled noises, each twice the frequency and half the weight; about 0..1.
float TiledFractal(float x, float y, int period, int octaves, uint32_t seed);

// A small linear congruential generator for scattering things (stars, spots).
struct Scatter {
    uint32_t state;
};
float NextUnit(Scatter& scatter);  // 0..1
