// The FrameTimer: milliseconds since its origin, the time base of every Effect.
#pragma once

#include <cstdint>

struct FrameTimerRecord {
    int64_t frequency;     // counter ticks a second; 1000 in fallback mode
    float resolution;      // seconds a tick
    uint32_t clockStart;   // millisecond clock at the origin (fallback mode)
    bool usesCounter;
    int64_t counterStart;
};

extern FrameTimerRecord FrameTimer;

void StartFrameTimer();
double ReadFrameTimer();
