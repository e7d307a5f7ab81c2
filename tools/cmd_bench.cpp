// kamora-tool bench: what each part of the show costs to draw, on this machine.
#include "host/timeline.h"
#include "lib/slot_bench.h"
#include "lib/virtual_show.h"
#include "platform/process.h"
#include "tool_commands.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

static const char* kUsage =
    "usage: kamora-tool bench [--size 640x480] [--draw WxH] [--seconds 3] [--package KaMora.ppk] [--json]\n"
    "Draws each Timeline slot from its start for SECONDS of show time (60 frames a second, no\n"
    "vsync) and reports the median and 95th-percentile frame time and frames per second, the time\n"
    "of pre-loading and loading, and the peak memory. --draw draws the picture at WxH off screen and\n"
    "scales it into the window's 4:3 area, as a full screen at a lower picked mode does. Needs a\n"
    "display (xvfb-run -a when headless).\n";

static std::vector<double> ScaleTimes;  // the scale step of every scaled frame

static int RunBench(int argc, char** argv) {
    if (WantsHelp(argc, argv)) {
        fputs(kUsage, stdout);
        return 0;
    }
    VirtualShowOptions options;
    double seconds = 3;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--json")) { json = true; continue; }
        if (i + 1 >= argc) { fputs(kUsage, stderr); return 2; }
        if (!strcmp(argv[i], "--size")) { if (!ParseSize(argv[i + 1], &options.width, &options.height)) return 2; }
        else if (!strcmp(argv[i], "--draw")) { if (!ParseSize(argv[i + 1], &options.drawWidth, &options.drawHeight)) return 2; }
        else if (!strcmp(argv[i], "--seconds")) seconds = atof(argv[i + 1]);
        else if (!strcmp(argv[i], "--package")) options.package = argv[i + 1];
        else { fputs(kUsage, stderr); return 2; }
        ++i;
    }
    auto t0 = std::chrono::steady_clock::now();
    if (!StartVirtualShow(options)) return 1;
    double preload = SecondsSince(t0);
    auto t1 = std::chrono::steady_clock::now();
    if (!EnterDemo()) { StopVirtualShow(); return 1; }
    double load = SecondsSince(t1);
    const bool scaled = VirtualShowScaled();
    SlotResult results[9];
    for (int slot = 0; slot < 9; ++slot) results[slot] = MeasureSlot(slot, seconds, options.fps, &ScaleTimes);
    StopVirtualShow();
    double peakMb = PeakMemoryMegabytes();
    if (json) {
        printf("{\"size\": \"%dx%d\", \"scaled\": %s, \"preload_s\": %.3f, \"load_s\": %.3f, \"peak_mb\": %.1f, \"slots\": [",
               options.width, options.height, scaled ? "true" : "false", preload, load, peakMb);
        for (int s = 0; s < 9; ++s)
            printf("%s{\"slot\": %d, \"median_ms\": %.3f, \"p95_ms\": %.3f, \"fps\": %.1f}", s ? ", " : "", s + 1,
                   results[s].median, results[s].p95, results[s].fps);
        printf("]}\n");
        return 0;
    }
    printf("size %dx%d, %.1f s of show time a slot%s\n", options.width, options.height, seconds,
           scaled ? ", drawn off screen and scaled" : "");
    for (int s = 0; s < 9; ++s)
        printf("slot %d: median %7.2f ms  p95 %7.2f ms  %7.1f fps\n", s + 1, results[s].median, results[s].p95,
               results[s].fps);
    if (!ScaleTimes.empty()) {
        std::sort(ScaleTimes.begin(), ScaleTimes.end());
        printf("scale step (offscreen picture into the area): median %.2f ms  p95 %.2f ms\n",
               ScaleTimes[ScaleTimes.size() / 2], ScaleTimes[(size_t)(ScaleTimes.size() * 0.95)]);
    }
    printf("preload %.3f s, load %.3f s, peak memory %.1f MB\n", preload, load, peakMb);
    return 0;
}

static ToolCommand Bench("bench", "measure the frame time of every slot of the show", RunBench);
