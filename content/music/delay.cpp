#include "delay.h"

#include <vector>

static std::vector<float> LineL, LineR;
static int Length, Cursor;
static float Feedback, DampL, DampR;

void StartDelay(float seconds, float feedback, float rate) {
    Length = (int)(seconds * rate);
    if (Length < 1) Length = 1;
    LineL.assign(Length, 0.0f);
    LineR.assign(Length, 0.0f);
    Cursor = 0, Feedback = feedback, DampL = DampR = 0;
}

void RunDelay(const float* sendL, const float* sendR, float* left, float* right, int count) {
    for (int i = 0; i < count; i++) {
        float outL = LineL[Cursor], outR = LineR[Cursor];
        // Each echo is a little darker than the one before, as on tape.
        DampL += 0.35f * (outL - DampL);
        DampR += 0.35f * (outR - DampR);
        LineL[Cursor] = 0.5f * (sendL[i] + sendR[i]) + DampR * Feedback;  // ping ...
        LineR[Cursor] = DampL * Feedback;                                // ... pong
        left[i] += outL;
        right[i] += outR;
        if (++Cursor == Length) Cursor = 0;
    }
}

void StopDelay() {
    LineL.clear(), LineR.clear();
    LineL.shrink_to_fit(), LineR.shrink_to_fit();
}
