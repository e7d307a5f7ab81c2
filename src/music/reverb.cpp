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
// The wet gain is divided by the network's gain for broadband sound, which grows as the decay
// lengthens, so the volume alone sets the level: on the show's music the tail sits about 7 dB
// under the dry sound at volume 1 and 13 dB at 0.5, for short and long rooms alike, unclipped.
static const float kWetLevel = 0.7f;
// Bass below about 200 Hz is kept out of the room: the combs all ring in phase at the lowest
// frequencies, and a bass line would swell the tail until the output clips.
static const float kLowCutHz = 200.0f;

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
static float LowCut = 0;  // one-pole low-pass weight; the room hears the input less its bass
static float LowState = 0;
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
    double power = 0;  // the comb bank's gain for broadband sound, squared
    for (int i = 0; i < kCombCount; ++i) power += 1.0 / (1.0 - Combs[0][i].feedback * Combs[0][i].feedback);
    // Freeverb's all-passes are not quite all-pass: each lifts broadband power 7/3 times.
    double bankGain = 2 * kInputGain * sqrt(power) * (7.0 / 3.0) * (7.0 / 3.0);
    Wet = (float)((volume < 1 ? volume : 1) * kWetLevel / bankGain);
    LowCut = 1.0f - expf(-2.0f * (float)M_PI * kLowCutHz / (rate > 0 ? rate : 44100));
    LowState = 0;
    Active = true;
}

void SwitchReverbOff() { Active = false; }
bool ReverbOn() { return Active; }

// A tail dying away after silence would sink into subnormal floats, each costing the audio
// callback many times an ordinary one; far below hearing (-400 dB) it is set to silence.
static float Flush(float value) { return fabsf(value) < 1e-20f ? 0.0f : value; }

static float RunComb(Comb* comb, float input) {
    float output = comb->buffer[comb->index];
    comb->store = Flush(output * (1 - Damp) + comb->store * Damp);
    comb->buffer[comb->index] = Flush(input + comb->store * comb->feedback);
    if (++comb->index >= comb->size) comb->index = 0;
    return output;
}

static float RunAllpass(Allpass* allpass, float input) {
    float delayed = allpass->buffer[allpass->index];
    allpass->buffer[allpass->index] = Flush(input + delayed * 0.5f);
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
        float mono = frame[0] + frame[1];
        LowState = Flush(LowState + LowCut * (mono - LowState));
        float input = (mono - LowState) * kInputGain;
        float left = ReverbSample(0, input);
        float right = ReverbSample(1, input);
        frame[0] = Clip(frame[0] + left * Wet);
        frame[1] = Clip(frame[1] + right * Wet);
    }
}
