// Attack-decay-sustain-release envelope: linear attack, exponential decay and release.
#pragma once

enum EnvelopeStage { ENV_ATTACK, ENV_DECAY, ENV_RELEASE, ENV_DONE };

struct Envelope {
    EnvelopeStage stage;
    float level, attackStep, decayCoef, sustain, releaseCoef;
};

// Times in seconds; decay and release reach 1 % of their distance in the given time.
void StartEnvelope(Envelope* env, float attack, float decay, float sustain, float release, float rate);
void ReleaseEnvelope(Envelope* env);
float NextEnvelope(Envelope* env);

// The coefficient of an exponential fall to 1 % in `seconds`.
float DecayCoefficient(float seconds, float rate);
