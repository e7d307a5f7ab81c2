// Stereo room reverb: eight damped comb filters and four all-passes per side (Schroeder /
// Moorer design), the right side with slightly longer lines for width.
#pragma once

void StartReverb(float size, float damping, float rate);
// Adds the reverberated send to left/right.
void RunReverb(const float* sendL, const float* sendR, float* left, float* right, int count);
