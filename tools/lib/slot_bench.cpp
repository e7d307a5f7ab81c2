#include "lib/slot_bench.h"

#include "gfx/gl.h"
#include "host/timeline.h"
#include "lib/virtual_show.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

SlotResult MeasureSlot(int slot, double seconds, int fps, std::vector<double>* scaleTimes, bool readBack) {
    const int64_t first = (int64_t)((double)Timeline[slot].first / 176400.0 * fps) + 1;
    const int64_t count = std::max<int64_t>(1, (int64_t)(seconds * fps));
    std::vector<double> times;
    for (int64_t f = first; f < first + count; ++f) {
        auto start = std::chrono::steady_clock::now();
        if (!RenderDemoFrame(f)) break;
        if (readBack) {
            unsigned char pixel[4];
            glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        }
        times.push_back(SecondsSince(start) * 1000.0);
        if (scaleTimes && VirtualShowScaled()) scaleTimes->push_back(LastScaleMilliseconds());
    }
    if (times.empty()) return {0, 0, 0};
    std::sort(times.begin(), times.end());
    double median = times[times.size() / 2];
    double p95 = times[std::min(times.size() - 1, (size_t)(times.size() * 0.95))];
    return {median, p95, median > 0 ? 1000.0 / median : 0};
}
