// Tempo-synced stereo ping-pong echo with a darkening feedback path.
#pragma once

void StartDelay(float seconds, float feedback, float rate);
// Feeds `count` samples of the send into the echo and adds its output to left/right.
void RunDelay(const float* sendL, const float* sendR, float* left, float* right, int count);
void StopDelay();
