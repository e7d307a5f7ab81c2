// State-variable filter (topology-preserving transform): low-, band- and high-pass outputs
// of one stable structure that can be retuned every block without clicks.
#pragma once

enum FilterMode { FILTER_LOW, FILTER_BAND, FILTER_HIGH };

struct Filter {
    float ic1, ic2;   // integrator states
    float g, k;       // tuning and damping
    float a1, a2, a3;
};

// cutoff in Hz (kept below Nyquist), resonance 0..1 (1 rings).
void TuneFilter(Filter* filter, float cutoff, float resonance, float rate);
float RunFilter(Filter* filter, float input, FilterMode mode);
