// kamora-tool render: one frame of the show, exactly as it looks at a given moment.
#include "lib/virtual_show.h"
#include "tool_commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* kUsage =
    "usage: kamora-tool render --at SECONDS [--fps 60] [--size 640x480] --out FILE.png\n"
    "                          [--package KaMora.ppk] [--loading MS] [--draw WxH] [--supersample N]\n"
    "Renders the frame the show displays SECONDS after its first demo frame, drawing every\n"
    "frame before it in order at FPS frames a second. --loading MS renders the loading screen\n"
    "MS milliseconds after its start instead. The picture fills the largest 4:3 area of the size,\n"
    "between black bars; --draw draws it at WxH off screen and scales it into that area, as a full\n"
    "screen at a lower picked mode does. --supersample N (1-4) draws at N times the size and\n"
    "averages NxN pixels into one. Needs a display (use xvfb-run -a when headless).\n";

static int Usage(const char* problem) {
    if (problem) fprintf(stderr, "kamora-tool render: %s\n", problem);
    fputs(kUsage, problem ? stderr : stdout);
    return problem ? 2 : 0;
}

static int RunRender(int argc, char** argv) {
    if (WantsHelp(argc, argv)) return Usage(nullptr);
    VirtualShowOptions options;
    double at = -1;
    int loading = -1;
    const char* out = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) return Usage("missing value");
        if (!strcmp(argv[i], "--at")) at = atof(value);
        else if (!strcmp(argv[i], "--fps")) options.fps = atoi(value);
        else if (!strcmp(argv[i], "--size")) { if (!ParseSize(value, &options.width, &options.height)) return Usage("bad --size"); }
        else if (!strcmp(argv[i], "--draw")) { if (!ParseSize(value, &options.drawWidth, &options.drawHeight)) return Usage("bad --draw"); }
        else if (!strcmp(argv[i], "--out")) out = value;
        else if (!strcmp(argv[i], "--package")) options.package = value;
        else if (!strcmp(argv[i], "--loading")) loading = atoi(value);
        else if (!strcmp(argv[i], "--supersample")) options.supersample = atoi(value);
        else return Usage("unknown option");
        ++i;
    }
    if (!out || (at < 0 && loading < 0)) return Usage("--out and --at (or --loading) are required");
    if (options.fps <= 0 || options.fps > 1000) return Usage("--fps must be 1 to 1000");
    if (options.supersample < 1 || options.supersample > 4) return Usage("--supersample must be 1 to 4");
    if (!StartVirtualShow(options)) return 1;
    bool drawn = true;
    if (loading >= 0) {
        RenderLoadingFrame(loading);
    } else {
        const int64_t target = FrameAtSeconds(at, options.fps);
        drawn = EnterDemo() && SeekDemoFrame(target) && RenderDemoFrame(target);
        if (!drawn) fprintf(stderr, "kamora-tool render: the show has ended before %.3f s\n", at);
    }
    RgbImage image;
    if (drawn) ReadFrame(&image);
    StopVirtualShow();
    if (!drawn) return 1;
    if (!WritePng(out, image)) {
        fprintf(stderr, "kamora-tool render: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

static ToolCommand Render("render", "render one frame of the show at a moment to a PNG", RunRender);
