// Synthesized drums: kick, snare, clap, hi-hat, crash and tom, each from sines and noise.
#pragma once

#include <cstdint>

#include "filter.h"
#include "score.h"

struct DrumVoice {
    bool active;
    InstrumentKind kind;
    int instrument;
    int age;               // samples since the hit
    float velocity;
    float tone, rate;
    float amp, ampCoef;    // main decay
    float body, bodyCoef;  // a second, shorter decay (pitch sweep, snare body, clap bursts)
    double phase;
    double metal[6];       // phases of the hi-hat's square partials
    Filter filter, filter2;
    uint32_t seed;
};

void StartDrum(DrumVoice* voice, const Instrument* in, int instrument, float velocity, float rate,
               uint32_t seed);
// Makes a hi-hat fall silent within a few milliseconds: a new hit of the same hat cuts the last.
void ChokeDrum(DrumVoice* voice);
// Adds `count` mono samples of the voice to `out`; the voice goes inactive when it has faded.
void RenderDrum(DrumVoice* voice, float* out, int count);
