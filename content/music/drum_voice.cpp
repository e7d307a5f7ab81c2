#include "drum_voice.h"

#include <cmath>

#include "envelope.h"
#include "oscillator.h"

void StartDrum(DrumVoice* v, const Instrument* in, int instrument, float velocity, float rate,
               uint32_t seed) {
    *v = DrumVoice{};
    v->active = true, v->kind = in->kind, v->instrument = instrument;
    v->velocity = velocity, v->tone = in->tone, v->rate = rate, v->seed = seed;
    v->amp = 1, v->ampCoef = DecayCoefficient(in->decay, rate);
    v->body = 1;
    switch (in->kind) {
    case KIND_KICK: v->bodyCoef = DecayCoefficient(0.09f, rate); break;  // pitch sweep
    case KIND_SNARE:
        v->bodyCoef = DecayCoefficient(in->decay * 0.55f, rate);
        TuneFilter(&v->filter, 1800, 0.1f, rate);
        TuneFilter(&v->filter2, 9000, 0.0f, rate);
        break;
    case KIND_CLAP: TuneFilter(&v->filter, 1150, 0.35f, rate); break;
    case KIND_HAT:
    case KIND_CRASH:
        TuneFilter(&v->filter, in->tone, 0.15f, rate);
        TuneFilter(&v->filter2, 15000, 0.0f, rate);
        break;
    case KIND_TOM: v->bodyCoef = DecayCoefficient(0.18f, rate); break;
    case KIND_SYNTH: v->active = false; break;
    }
}

void ChokeDrum(DrumVoice* v) {
    v->ampCoef = DecayCoefficient(0.012f, v->rate);
}

static float KickSample(DrumVoice* v) {
    float t = v->age / v->rate;
    float freq = v->tone * (1.0f + 3.5f * v->body);
    v->body *= v->bodyCoef;
    v->phase += freq / v->rate;
    float click = t < 0.004f ? NextNoise(&v->seed) * (1.0f - t / 0.004f) * 0.35f : 0.0f;
    float attack = t < 0.0015f ? t / 0.0015f : 1.0f;
    return tanhf(1.6f * (float)sin(2.0 * M_PI * v->phase) * v->amp * attack) + click * v->amp;
}

static float SnareSample(DrumVoice* v) {
    v->phase += v->tone / v->rate;
    float tone = (float)(sin(2.0 * M_PI * v->phase) + 0.5 * sin(2.0 * M_PI * v->phase * 1.62));
    float noise = RunFilter(&v->filter, NextNoise(&v->seed), FILTER_HIGH);
    noise = RunFilter(&v->filter2, noise, FILTER_LOW);
    float out = 0.55f * tone * v->body + 0.75f * noise * v->amp;
    v->body *= v->bodyCoef;
    return out;
}

// Three quick bursts 11 ms apart, then the tail: the sound of several hands.
static float ClapSample(DrumVoice* v) {
    float t = v->age / v->rate;
    float burst = t < 0.033f ? expf(-fmodf(t, 0.011f) / 0.0035f) : 0.0f;
    float env = burst > v->amp ? burst : v->amp;
    return 1.6f * RunFilter(&v->filter, NextNoise(&v->seed), FILTER_BAND) * env;
}

// Six detuned square partials over noise, high-passed: the metal of a cymbal.
static float MetalSample(DrumVoice* v) {
    static const double ratios[6] = {1.0, 1.4826, 1.8013, 2.5462, 2.6311, 3.8963};
    float metal = 0;
    for (int i = 0; i < 6; i++) {
        v->metal[i] += 420.0 * ratios[i] / v->rate;
        v->metal[i] -= floor(v->metal[i]);
        metal += v->metal[i] < 0.5 ? 1.0f : -1.0f;
    }
    float raw = 0.09f * metal + 0.8f * NextNoise(&v->seed);
    float high = RunFilter(&v->filter, raw, FILTER_HIGH);
    return RunFilter(&v->filter2, high, FILTER_LOW) * v->amp;
}

static float TomSample(DrumVoice* v) {
    float freq = v->tone * (1.0f + 0.8f * v->body);
    v->body *= v->bodyCoef;
    v->phase += freq / v->rate;
    return (float)sin(2.0 * M_PI * v->phase) * v->amp;
}

void RenderDrum(DrumVoice* v, float* out, int count) {
    for (int i = 0; i < count && v->active; i++) {
        float s = 0;
        switch (v->kind) {
        case KIND_KICK: s = KickSample(v); break;
        case KIND_SNARE: s = SnareSample(v); break;
        case KIND_CLAP: s = ClapSample(v); break;
        case KIND_HAT:
        case KIND_CRASH: s = MetalSample(v); break;
        case KIND_TOM: s = TomSample(v); break;
        case KIND_SYNTH: break;
        }
        out[i] += s * v->velocity;
        v->amp *= v->ampCoef;
        v->age++;
        if (v->amp < 1e-4f && v->body < 1e-3f) v->active = false;
        if (v->amp < 1e-4f && v->kind != KIND_SNARE && v->kind != KIND_TOM) v->active = false;
    }
}
