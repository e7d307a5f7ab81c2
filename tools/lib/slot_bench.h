// Frame times of one Timeline slot of the virtual show: the measure of `kamora-tool bench` and of
// the browser build's bench mode.
#pragma once

#include <vector>

struct SlotResult {
    double median, p95, fps;
};

// Draws slot `slot` (0-8) from its first frame for `seconds` of show time at `fps`, timing each
// frame to its end (the virtual show finishes every frame). The scale step of every scaled frame
// (milliseconds) is added to `scaleTimes` when given. `readBack` reads a pixel after each frame:
// WebGL's finish returns before the GPU process has drawn, a read waits for it.
SlotResult MeasureSlot(int slot, double seconds, int fps, std::vector<double>* scaleTimes = nullptr,
                       bool readBack = false);
