#include "host/frame_timer.h"

#include "platform/clock.h"

FrameTimerRecord FrameTimer;

void StartFrameTimer() {
    FrameTimer = FrameTimerRecord{};
    int64_t frequency;
    if (QueryCounterFrequency(&frequency)) {
        FrameTimer.frequency = frequency;
        QueryCounter(&FrameTimer.counterStart);
        FrameTimer.usesCounter = true;
        FrameTimer.resolution = (float)(1.0 / (double)frequency);
    } else {
        FrameTimer.usesCounter = false;
        FrameTimer.clockStart = ReadMillisecondClock();
        FrameTimer.resolution = 0.001f;
        FrameTimer.frequency = 1000;
    }
}

// The single-precision resolution and constant carry their rounding into every reading; the
// products themselves are formed in double so long runs keep their sub-millisecond steps.
double ReadFrameTimer() {
    if (FrameTimer.usesCounter) {
        int64_t now = 0;
        QueryCounter(&now);
        return (double)(now - FrameTimer.counterStart) * FrameTimer.resolution * 1000.0f;
    }
    uint32_t elapsed = ReadMillisecondClock() - FrameTimer.clockStart;
    return (double)elapsed * FrameTimer.resolution * 1000.0f;
}
