#include "mixer.h"

#include <cmath>
#include <cstring>

#include "delay.h"
#include "envelope.h"
#include "reverb.h"

static float Channels[MAX_INSTRUMENTS][2][MIX_BLOCK];
static float Duck, DuckTarget, DuckAttack, DuckRelease;

void StartMixer(const Score* score, float rate) {
    memset(Channels, 0, sizeof Channels);
    Duck = DuckTarget = 0;
    DuckAttack = DecayCoefficient(0.004f, rate);
    DuckRelease = DecayCoefficient(0.22f, rate);
    StartDelay((float)(score->delayBeats * 60.0 / score->tempo), (float)score->delayFeedback, rate);
    StartReverb((float)score->reverbSize, (float)score->reverbDamping, rate);
}

void StopMixer() {
    StopDelay();
}

float* ChannelLeft(int instrument) { return Channels[instrument][0]; }
float* ChannelRight(int instrument) { return Channels[instrument][1]; }

void TriggerDuck() {
    DuckTarget = 1;
}

// The duck envelope: a quick dip at each kick and a slow recovery, the "pumping" of the pads.
static void DuckCurve(float* curve, int count) {
    for (int i = 0; i < count; i++) {
        if (DuckTarget > Duck) {
            Duck = DuckTarget + (Duck - DuckTarget) * DuckAttack;
            if (DuckTarget - Duck < 0.01f) DuckTarget = 0;
        } else {
            Duck *= DuckRelease;
        }
        curve[i] = Duck;
    }
}

void MixBlock(const Score* score, const float* gains, float* outL, float* outR, int count) {
    float curve[MIX_BLOCK], delayL[MIX_BLOCK] = {}, delayR[MIX_BLOCK] = {};
    float reverbL[MIX_BLOCK] = {}, reverbR[MIX_BLOCK] = {};
    DuckCurve(curve, count);
    for (int c = 0; c < score->instrumentCount; c++) {
        const Instrument* in = &score->instruments[c];
        float angle = (in->pan + 1.0f) * (float)M_PI * 0.25f;
        float gl = cosf(angle) * 1.4142f * gains[c], gr = sinf(angle) * 1.4142f * gains[c];
        for (int i = 0; i < count; i++) {
            float duck = 1.0f - in->duck * curve[i];
            float l = Channels[c][0][i] * gl * duck, r = Channels[c][1][i] * gr * duck;
            outL[i] += l, outR[i] += r;
            delayL[i] += l * in->delaySend, delayR[i] += r * in->delaySend;
            reverbL[i] += l * in->reverbSend, reverbR[i] += r * in->reverbSend;
        }
        memset(Channels[c], 0, sizeof Channels[c]);
    }
    // The echoes are reverberated a little too, so they sit in the same room.
    float echoL[MIX_BLOCK] = {}, echoR[MIX_BLOCK] = {};
    RunDelay(delayL, delayR, echoL, echoR, count);
    for (int i = 0; i < count; i++) {
        outL[i] += echoL[i], outR[i] += echoR[i];
        reverbL[i] += 0.3f * echoL[i], reverbR[i] += 0.3f * echoR[i];
    }
    RunReverb(reverbL, reverbR, outL, outR, count);
}
