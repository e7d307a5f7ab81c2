#include "sequencer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "drum_voice.h"
#include "mixer.h"
#include "synth_voice.h"

static const int MAX_SYNTH_VOICES = 64, MAX_DRUM_VOICES = 32;

static const Score* Song;
static float Rate;
static SynthVoice Synths[MAX_SYNTH_VOICES];
static DrumVoice Drums[MAX_DRUM_VOICES];
static int64_t Cursor;             // next sample to render
static std::vector<float>* OutL;
static std::vector<float>* OutR;
static uint32_t Seed = 0x4b614d6fu;  // every voice gets its own noise seed from here
static int64_t PhraseStart, PhraseEnd;
static const OrderLine* Lines[MAX_ORDER_LINES];  // order lines of the current phrase
static int LineCount;

static int64_t SecondsToSample(double seconds) {
    return (int64_t)llround(seconds * Rate);
}

static int64_t RowSample(int phrase, int row) {
    double start = PhraseStartSeconds(Song, phrase), end = PhraseStartSeconds(Song, phrase + 1);
    return SecondsToSample(start + (end - start) * row / RowsPerPhrase(Song));
}

static uint32_t NextSeed() {
    Seed = Seed * 1664525u + 1013904223u;
    return Seed;
}

// The instrument's cutoff and level now: its own values, or a ramp of the current phrase.
static void LiveValues(float* cutoff, float* gain) {
    for (int i = 0; i < Song->instrumentCount; i++)
        cutoff[i] = Song->instruments[i].cutoff, gain[i] = Song->instruments[i].gain;
    if (PhraseEnd <= PhraseStart) return;
    float t = (float)(Cursor - PhraseStart) / (float)(PhraseEnd - PhraseStart);
    if (t < 0 || t > 1) return;
    for (int l = 0; l < LineCount; l++)
        for (int r = 0; r < Lines[l]->rampCount; r++) {
            const Ramp* ramp = &Lines[l]->ramps[r];
            float* value = ramp->target == RAMP_CUTOFF ? cutoff : gain;
            // Cutoff sweeps move in octaves, so they sound even; levels move linearly.
            value[ramp->instrument] = ramp->target == RAMP_CUTOFF && ramp->from > 0 && ramp->to > 0
                ? ramp->from * powf(ramp->to / ramp->from, t)
                : ramp->from + (ramp->to - ramp->from) * t;
        }
}

static void RenderBlock(int count) {
    float cutoff[MAX_INSTRUMENTS], gain[MAX_INSTRUMENTS];
    LiveValues(cutoff, gain);
    for (SynthVoice& v : Synths)
        if (v.active)
            RenderSynthVoice(&v, &Song->instruments[v.instrument], cutoff[v.instrument], Rate,
                             ChannelLeft(v.instrument), ChannelRight(v.instrument), count);
    for (DrumVoice& d : Drums)
        if (d.active) {
            float mono[MIX_BLOCK] = {};
            RenderDrum(&d, mono, count);
            float *l = ChannelLeft(d.instrument), *r = ChannelRight(d.instrument);
            for (int i = 0; i < count; i++) l[i] += mono[i], r[i] += mono[i];
        }
    MixBlock(Song, gain, &(*OutL)[Cursor], &(*OutR)[Cursor], count);
    Cursor += count;
}

static void RenderUntil(int64_t end) {
    if (end > (int64_t)OutL->size()) end = (int64_t)OutL->size();
    while (Cursor < end) RenderBlock((int)std::min<int64_t>(MIX_BLOCK, end - Cursor));
}

static SynthVoice* FreeSynthVoice() {
    SynthVoice* pick = nullptr;
    for (SynthVoice& v : Synths) {
        if (!v.active) return &v;
        // Steal the oldest released note, or the oldest of all when none is released.
        if (!pick || (v.released && !pick->released) ||
            (v.released == pick->released && v.born < pick->born))
            pick = &v;
    }
    return pick;
}

static void PlaySynthStep(int track, int instrument, int transpose, const Step* step) {
    const Instrument* in = &Song->instruments[instrument];
    SynthVoice* held = nullptr;
    for (SynthVoice& v : Synths)
        if (v.active && !v.released && v.track == track) {
            if (in->glide > 0 && step->noteCount == 1 && !held) { held = &v; continue; }
            ReleaseSynthVoice(&v);
        }
    if (step->off || step->noteCount == 0) {
        if (held) ReleaseSynthVoice(held);
        return;
    }
    if (held) return GlideSynthVoice(held, in, (float)(step->notes[0] + transpose), step->velocity);
    for (int n = 0; n < step->noteCount; n++)
        StartSynthVoice(FreeSynthVoice(), in, instrument, track, (float)(step->notes[n] + transpose),
                        step->velocity, Rate, Cursor, NextSeed());
}

static void PlayDrumStep(int instrument, const Step* step) {
    const Instrument* in = &Song->instruments[instrument];
    DrumVoice* slot = &Drums[0];
    for (DrumVoice& d : Drums) {
        if (in->kind == KIND_HAT && d.active && d.instrument == instrument) ChokeDrum(&d);
        if (!d.active) slot = &d;
        else if (slot->active && d.age > slot->age) slot = &d;
    }
    StartDrum(slot, in, instrument, step->velocity, Rate, NextSeed());
    if (in->kind == KIND_KICK) TriggerDuck();
}

// A track is one pattern as played: the same pattern on two instruments is two tracks.
static int TrackOf(const PlayedPattern* played) {
    return (played->pattern << 16) | (played->instrument << 8) | (played->transpose + 128);
}

static void PlayRow(int row) {
    for (int l = 0; l < LineCount; l++)
        for (int p = 0; p < Lines[l]->patternCount; p++) {
            const PlayedPattern* played = &Lines[l]->patterns[p];
            const Pattern* pattern = &Song->patterns[played->pattern];
            const Step* step = &pattern->steps[row % pattern->length];
            if (Song->instruments[played->instrument].kind != KIND_SYNTH) {
                if (step->noteCount > 0) PlayDrumStep(played->instrument, step);
            } else if (step->noteCount > 0 || step->off) {
                PlaySynthStep(TrackOf(played), played->instrument, played->transpose, step);
            }
        }
}

static bool PhrasePlays(int track) {
    for (int l = 0; l < LineCount; l++)
        for (int p = 0; p < Lines[l]->patternCount; p++)
            if (TrackOf(&Lines[l]->patterns[p]) == track) return true;
    return false;
}

// Gathers the order lines of `phrase` and lets notes of patterns that stop here ring out.
static void EnterPhrase(int phrase) {
    PhraseStart = RowSample(phrase, 0), PhraseEnd = RowSample(phrase + 1, 0);
    LineCount = 0;
    for (int i = 0; i < Song->orderCount; i++)
        if (Song->order[i].first <= phrase && phrase <= Song->order[i].last) Lines[LineCount++] = &Song->order[i];
    for (SynthVoice& v : Synths)
        if (v.active && !v.released && !PhrasePlays(v.track)) ReleaseSynthVoice(&v);
}

void RenderScore(const Score* score, int rate, std::vector<float>* left, std::vector<float>* right) {
    Song = score, Rate = (float)rate, Cursor = 0, OutL = left, OutR = right;
    int64_t total = SecondsToSample(score->lengthSeconds);
    left->assign(total, 0.0f);
    right->assign(total, 0.0f);
    for (SynthVoice& v : Synths) v.active = false;
    for (DrumVoice& d : Drums) d.active = false;
    StartMixer(score, Rate);
    for (int phrase = 0; phrase < score->phraseCount; phrase++) {
        printf("music: rendering phrase %d of %d\n", phrase + 1, score->phraseCount);
        fflush(stdout);
        EnterPhrase(phrase);
        for (int row = 0; row < RowsPerPhrase(score); row++) {
            RenderUntil(RowSample(phrase, row));
            PlayRow(row);
        }
    }
    RenderUntil(RowSample(score->phraseCount, 0));
    LineCount = 0;  // after the last phrase only the tails sound
    for (SynthVoice& v : Synths)
        if (v.active) ReleaseSynthVoice(&v);
    RenderUntil(total);
    StopMixer();
}
