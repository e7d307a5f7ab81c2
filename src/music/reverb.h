// A software room reverb (Freeverb-style: eight damped feedback combs and four all-passes per
// channel) that gives the EAX environments of the sound dialog something to be heard with.
#pragma once

// Sets the room: `volume` is the wet level (0..1), `decay` the time in seconds for the tail to
// fall by 60 dB, `damping` the EAX high-frequency ratio (0 = highs die fastest, 1 = evenly,
// 2 = lows die faster; values above 1 leave the highs undamped). A volume of 0 or less, or a
// decay of 0 or less, switches the reverb off. The tail restarts from silence.
void SetReverbRoom(int sampleRate, float volume, float decay, float damping);
void SwitchReverbOff();
bool ReverbOn();

// Adds the reverb to `frames` interleaved stereo float frames in place (the dry sound stays).
void ApplyReverb(float* stereo, int frames);
