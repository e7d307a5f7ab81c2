#include "oscillator.h"

#include <cmath>

float NextNoise(uint32_t* seed) {
    *seed = *seed * 1664525u + 1013904223u;
    return (float)((int32_t)*seed) * (1.0f / 2147483648.0f);
}

float NoteFrequency(float note) {
    return 440.0f * exp2f((note - 69.0f) / 12.0f);
}

// Smooths the jump of a naive wave at phase 0 so the harmonics above Nyquist stay small.
static double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

float NextOscillator(Oscillator* osc, Wave wave, double step, uint32_t* noiseSeed) {
    double t = osc->phase, value = 0;
    switch (wave) {
    case WAVE_SAW: value = 2.0 * t - 1.0 - PolyBlep(t, step); break;
    case WAVE_SQUARE: {
        double half = t + 0.5 - (t >= 0.5 ? 1.0 : 0.0);
        value = (t < 0.5 ? 1.0 : -1.0) + PolyBlep(t, step) - PolyBlep(half, step);
        break;
    }
    case WAVE_TRIANGLE: value = t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t; break;
    case WAVE_SINE: value = sin(2.0 * M_PI * t); break;
    case WAVE_NOISE: value = NextNoise(noiseSeed); break;
    }
    t += step;
    osc->phase = t - floor(t);
    return (float)value;
}
