#include "music/reverb.h"

#include <cmath>
#include <cstring>

// Freeverb's delay lengths, in samples at 44.1 kHz; the right channel is spread a little wider
// so the tail sounds wide. Rates below 44.1 kHz scale them down and so fit the same buffers.
enum { kCombCount = 8, kAllpassCount = 4, kSpread = 23, kMaxRate = 48000 };
static const int kCombTuning[kCombCount] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
static const int kAllpassTuning[kAllpassCount] = {556, 441, 341, 225};
static const int kCombCapacity = (1617 + kSpread) * kMaxRate / 44100 + 2;
static const int kAllpassCapacity = (556 + kSpread) * kMaxRate / 44100 + 2;
static const float kInputGain = 0.015f;  // Freeverb's fixed gain into the comb bank
static const float kWetScale = 3.0f;

struct Comb {
    float buffer[kCombCapacity];
    int size, index;
    float feedback, store;
};

struct Allpass {
    float buffer[kAllpassCapacity];
    int size, index;
};

static Comb Combs[2][kCombCount];
static Allpass Allpasses[2][kAllpassCount];
static float Damp = 0;   // one-pole low-pass weight in the comb feedback: 0 = no high loss
static float Wet = 0;    // 0 = reverb off
static bool Active = false;

static int ScaledLength(int tuning, int rate, int capacity) {
    int rateUsed = rate > 0 && rate <= kMaxRate ? rate : 44100;
    int length = (int)((long long)tuning * rateUsed / 44100);
    if (length < 1) length = 1;
    return length < capacity ? length : capacity;
}

// The feedback that makes a comb of `length` samples fall 60 dB in `decay` seconds.
static float CombFeedback(int length, int rate, float decay) {
    double loopSeconds = (double)length / (rate > 0 ? rate : 44100);
    double feedback = pow(10.0, -3.0 * loopSeconds / decay);
    return (float)(feedback < 0.98 ? feedback : 0.98);  // keeps a very long room from ringing forever
}

void SetReverbRoom(int rate, float volume, float decay, float damping) {
    Active = false;
    if (!(volume > 0) || !(decay > 0)) return;
    memset(Combs, 0, sizeof Combs);
    memset(Allpasses, 0, sizeof Allpasses);
    for (int channel = 0; channel < 2; ++channel) {
        int spread = channel * kSpread;
        for (int i = 0; i < kCombCount; ++i) {
            Comb* comb = &Combs[channel][i];
            comb->size = ScaledLength(kCombTuning[i] + spread, rate, kCombCapacity);
            comb->feedback = CombFeedback(comb->size, rate, decay);
        }
        for (int i = 0; i < kAllpassCount; ++i)
            Allpasses[channel][i].size = ScaledLength(kAllpassTuning[i] + spread, rate, kAllpassCapacity);
    }
    float loss = 1.0f - (damping < 0 ? 1.0f : damping);
    Damp = loss > 0 ? 0.7f * (loss < 1 ? loss : 1) : 0;
    Wet = (volume < 1 ? volume : 1) * kWetScale;
    Active = true;
}

void SwitchReverbOff() { Active = false; }
bool ReverbOn() { return Active; }

static float RunComb(Comb* comb, float input) {
    float output = comb->buffer[comb->index];
    comb->store = output * (1 - Damp) + comb->store * Damp;
    comb->buffer[comb->index] = input + comb->store * comb->feedback;
    if (++comb->index >= comb->size) comb->index = 0;
    return output;
}

static float RunAllpass(Allpass* allpass, float input) {
    float delayed = allpass->buffer[allpass->index];
    allpass->buffer[allpass->index] = input + delayed * 0.5f;
    if (++allpass->index >= allpass->size) allpass->index = 0;
    return delayed - input;
}

static float ReverbSample(int channel, float input) {
    float sum = 0;
    for (int i = 0; i < kCombCount; ++i) sum += RunComb(&Combs[channel][i], input);
    for (int i = 0; i < kAllpassCount; ++i) sum = RunAllpass(&Allpasses[channel][i], sum);
    return sum;
}

static float Clip(float value) { return value > 1 ? 1 : (value < -1 ? -1 : value); }

void ApplyReverb(float* stereo, int frames) {
    if (!Active) return;
    for (int i = 0; i < frames; ++i) {
        float* frame = stereo + 2 * i;
        float input = (frame[0] + frame[1]) * kInputGain;
        float left = ReverbSample(0, input);
        float right = ReverbSample(1, input);
        frame[0] = Clip(frame[0] + left * Wet);
        frame[1] = Clip(frame[1] + right * Wet);
    }
}
