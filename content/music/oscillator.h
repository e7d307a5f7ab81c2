// Band-limited oscillators (polyBLEP saw and square), triangle, sine and white noise.
#pragma once

#include <cstdint>

#include "score.h"

struct Oscillator {
    double phase;  // 0..1
};

// One sample of `wave` at `step` = frequency / sample rate; advances the phase.
float NextOscillator(Oscillator* osc, Wave wave, double step, uint32_t* noiseSeed);

// Deterministic white noise in -1..1 from a 32-bit seed.
float NextNoise(uint32_t* seed);

float NoteFrequency(float note);  // MIDI note number (may be fractional) to Hz
