#include "filter.h"

#include <cmath>

void TuneFilter(Filter* filter, float cutoff, float resonance, float rate) {
    float limit = rate * 0.45f;
    if (cutoff > limit) cutoff = limit;
    if (cutoff < 10.0f) cutoff = 10.0f;
    if (resonance > 0.98f) resonance = 0.98f;
    filter->g = tanf((float)M_PI * cutoff / rate);
    filter->k = 2.0f - 2.0f * (resonance < 0 ? 0 : resonance);
    filter->a1 = 1.0f / (1.0f + filter->g * (filter->g + filter->k));
    filter->a2 = filter->g * filter->a1;
    filter->a3 = filter->g * filter->a2;
}

float RunFilter(Filter* f, float input, FilterMode mode) {
    float v3 = input - f->ic2;
    float v1 = f->a1 * f->ic1 + f->a2 * v3;
    float v2 = f->ic2 + f->a2 * f->ic1 + f->a3 * v3;
    f->ic1 = 2.0f * v1 - f->ic1;
    f->ic2 = 2.0f * v2 - f->ic2;
    if (mode == FILTER_LOW) return v2;
    if (mode == FILTER_BAND) return v1;
    return input - f->k * v1 - v2;
}
