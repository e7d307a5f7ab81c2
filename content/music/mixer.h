// The mixing desk: one stereo channel per instrument with level, pan, kick ducking and sends
// to the shared echo and reverb.
#pragma once

#include "score.h"

const int MIX_BLOCK = 32;  // samples per block; instrument parameters change between blocks

void StartMixer(const Score* score, float rate);
void StopMixer();
// The channel buffers of one instrument for the current block; voices add into them.
float* ChannelLeft(int instrument);
float* ChannelRight(int instrument);
// A kick has sounded: instruments with a duck setting dip under it.
void TriggerDuck();
// Mixes the channels (cleared afterwards) into out; gains[] is each instrument's level now.
void MixBlock(const Score* score, const float* gains, float* outL, float* outR, int count);
