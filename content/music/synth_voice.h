// One note of a synth instrument: unison oscillators and a sub, a filter with its own envelope,
// the amplitude envelope, glide and vibrato. Renders stereo.
#pragma once

#include <cstdint>

#include "envelope.h"
#include "filter.h"
#include "oscillator.h"
#include "score.h"

const int MAX_UNISON = 7;

struct SynthVoice {
    bool active;
    bool released;
    int instrument;
    int track;     // the pattern that started the note
    int64_t born;  // sample of the note start, for stealing the oldest voice
    float note, targetNote, velocity;
    float glideCoef, filterEnv, filterCoef;
    int age;
    Oscillator osc[MAX_UNISON], sub;
    float spread[MAX_UNISON], gainL[MAX_UNISON], gainR[MAX_UNISON];
    Envelope amp;
    Filter filterL, filterR;
    uint32_t seed;
};

void StartSynthVoice(SynthVoice* voice, const Instrument* in, int instrument, int track, float note,
                     float velocity, float rate, int64_t now, uint32_t seed);
// Slides a held note to a new pitch (legato) and re-opens its filter.
void GlideSynthVoice(SynthVoice* voice, const Instrument* in, float note, float velocity);
void ReleaseSynthVoice(SynthVoice* voice);
// Adds `count` samples to left/right; `cutoff` is the instrument's cutoff now (it may ramp).
void RenderSynthVoice(SynthVoice* voice, const Instrument* in, float cutoff, float rate, float* left,
                      float* right, int count);
