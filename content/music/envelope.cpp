#include "envelope.h"

#include <cmath>

float DecayCoefficient(float seconds, float rate) {
    if (seconds <= 0) return 0;
    return expf(-4.6f / (seconds * rate));
}

void StartEnvelope(Envelope* env, float attack, float decay, float sustain, float release, float rate) {
    env->stage = ENV_ATTACK;
    env->level = 0;
    env->attackStep = attack > 0 ? 1.0f / (attack * rate) : 1.0f;
    env->decayCoef = DecayCoefficient(decay, rate);
    env->sustain = sustain;
    env->releaseCoef = DecayCoefficient(release > 0.003f ? release : 0.003f, rate);
}

void ReleaseEnvelope(Envelope* env) {
    if (env->stage != ENV_DONE) env->stage = ENV_RELEASE;
}

float NextEnvelope(Envelope* env) {
    switch (env->stage) {
    case ENV_ATTACK:
        env->level += env->attackStep;
        if (env->level >= 1.0f) env->level = 1.0f, env->stage = ENV_DECAY;
        break;
    case ENV_DECAY: env->level = env->sustain + (env->level - env->sustain) * env->decayCoef; break;
    case ENV_RELEASE:
        env->level *= env->releaseCoef;
        if (env->level < 1e-4f) env->level = 0, env->stage = ENV_DONE;
        break;
    case ENV_DONE: break;
    }
    return env->level;
}
