#include "reverb.h"

#include <vector>

static const int COMBS = 8, ALLPASSES = 4, STEREO_SPREAD = 23;
static const int CombTuning[COMBS] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
static const int AllpassTuning[ALLPASSES] = {556, 441, 341, 225};

struct Line {
    std::vector<float> buffer;
    int cursor;
    float store;  // comb: low-passed feedback
};

static Line Combs[2][COMBS], Allpasses[2][ALLPASSES];
static float Feedback, Damping;

static void ResetLine(Line* line, int length) {
    line->buffer.assign(length, 0.0f);
    line->cursor = 0, line->store = 0;
}

void StartReverb(float size, float damping, float rate) {
    float scale = rate / 44100.0f;  // the tunings are in samples at 44.1 kHz
    for (int side = 0; side < 2; side++) {
        for (int i = 0; i < COMBS; i++)
            ResetLine(&Combs[side][i], (int)((CombTuning[i] + side * STEREO_SPREAD) * scale));
        for (int i = 0; i < ALLPASSES; i++)
            ResetLine(&Allpasses[side][i], (int)((AllpassTuning[i] + side * STEREO_SPREAD) * scale));
    }
    Feedback = 0.7f + 0.28f * size;
    Damping = 0.4f * damping;
}

static float RunComb(Line* c, float input) {
    float out = c->buffer[c->cursor];
    c->store = out * (1.0f - Damping) + c->store * Damping;
    c->buffer[c->cursor] = input + c->store * Feedback;
    if (++c->cursor == (int)c->buffer.size()) c->cursor = 0;
    return out;
}

static float RunAllpass(Line* a, float input) {
    float delayed = a->buffer[a->cursor];
    a->buffer[a->cursor] = input + delayed * 0.5f;
    if (++a->cursor == (int)a->buffer.size()) a->cursor = 0;
    return delayed - input;
}

void RunReverb(const float* sendL, const float* sendR, float* left, float* right, int count) {
    for (int i = 0; i < count; i++) {
        float input = (sendL[i] + sendR[i]) * 0.015f;
        float* out[2] = {&left[i], &right[i]};
        for (int side = 0; side < 2; side++) {
            float sum = 0;
            for (int c = 0; c < COMBS; c++) sum += RunComb(&Combs[side][c], input);
            for (int a = 0; a < ALLPASSES; a++) sum = RunAllpass(&Allpasses[side][a], sum);
            *out[side] += sum;
        }
    }
}
