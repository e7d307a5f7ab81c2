#include "synth_voice.h"

#include <cmath>

void StartSynthVoice(SynthVoice* v, const Instrument* in, int instrument, int track, float note,
                     float velocity, float rate, int64_t now, uint32_t seed) {
    *v = SynthVoice{};
    v->active = true, v->instrument = instrument, v->track = track, v->born = now;
    v->note = v->targetNote = note, v->velocity = velocity, v->seed = seed;
    v->glideCoef = in->glide > 0 ? expf(-1.0f / (in->glide * 0.3f * rate)) : 0.0f;
    v->filterEnv = 1, v->filterCoef = DecayCoefficient(in->filterDecay > 0 ? in->filterDecay : 0.2f, rate);
    int n = in->unison;
    for (int i = 0; i < n; i++) {
        // Spread the unison evenly in pitch and across the stereo field; random start phases
        // keep the stack from starting with one loud click.
        float position = n > 1 ? (float)i / (n - 1) * 2.0f - 1.0f : 0.0f;
        v->spread[i] = position * in->detune * 0.5f;
        float pan = position * in->width;
        v->gainL[i] = cosf((pan + 1.0f) * (float)M_PI * 0.25f) * 1.4142f / sqrtf((float)n);
        v->gainR[i] = sinf((pan + 1.0f) * (float)M_PI * 0.25f) * 1.4142f / sqrtf((float)n);
        v->osc[i].phase = n > 1 ? (NextNoise(&v->seed) + 1.0f) * 0.5f : 0.0;
    }
    StartEnvelope(&v->amp, in->attack, in->decay, in->sustain, in->release, rate);
}

void GlideSynthVoice(SynthVoice* v, const Instrument* in, float note, float velocity) {
    v->targetNote = note;
    v->velocity = velocity;
    v->filterEnv = 1;
    if (in->glide <= 0) v->note = note;
}

void ReleaseSynthVoice(SynthVoice* v) {
    v->released = true;
    ReleaseEnvelope(&v->amp);
}

static float VibratoNow(SynthVoice* v, const Instrument* in, float rate) {
    if (in->vibrato <= 0) return 0;
    float t = v->age / rate;
    float depth = t < 0.25f ? 0.0f : (t < 0.6f ? (t - 0.25f) / 0.35f : 1.0f);
    return in->vibrato * depth * sinf(2.0f * (float)M_PI * 5.5f * t);
}

void RenderSynthVoice(SynthVoice* v, const Instrument* in, float cutoff, float rate, float* left,
                      float* right, int count) {
    // Pitch, vibrato and filter are updated once per block; the blocks are short.
    v->note = v->targetNote + (v->note - v->targetNote) * powf(v->glideCoef, (float)count);
    float note = v->note + VibratoNow(v, in, rate);
    double step[MAX_UNISON];
    for (int i = 0; i < in->unison; i++) step[i] = NoteFrequency(note + v->spread[i]) / rate;
    double subStep = NoteFrequency(note - 12.0f) / rate;
    float open = cutoff + in->envMod * v->filterEnv * v->velocity;
    TuneFilter(&v->filterL, open, in->resonance, rate);
    TuneFilter(&v->filterR, open, in->resonance, rate);
    v->filterEnv *= powf(v->filterCoef, (float)count);
    for (int s = 0; s < count; s++) {
        float l = 0, r = 0;
        for (int i = 0; i < in->unison; i++) {
            float x = NextOscillator(&v->osc[i], in->wave, step[i], &v->seed);
            l += x * v->gainL[i];
            r += x * v->gainR[i];
        }
        if (in->sub > 0) {
            float x = in->sub * NextOscillator(&v->sub, WAVE_SQUARE, subStep, &v->seed);
            l += x, r += x;
        }
        float env = NextEnvelope(&v->amp) * v->velocity;
        left[s] += RunFilter(&v->filterL, l, FILTER_LOW) * env;
        right[s] += RunFilter(&v->filterR, r, FILTER_LOW) * env;
    }
    v->age += count;
    if (v->amp.stage == ENV_DONE) v->active = false;
}
