// kamora-tool render: one frame of the show, exactly as it looks at a given moment.
#include "lib/virtual_show.h"
#include "tool_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

static const char* kUsage =
    "usage: kamora-tool render --at SECONDS[,SECONDS...] [--fps 60] [--size 640x480] --out FILE.png\n"
    "                          [--package KaMora.ppk] [--loading MS] [--draw WxH] [--supersample N]\n"
    "Renders the frame the show displays SECONDS after its first demo frame, drawing every\n"
    "frame before it in order at FPS frames a second. Several moments (--at 5,42,69.5) are\n"
    "rendered in one pass; --out then names a folder, which gets 5.png, 42.png, 69.5.png.\n"
    "--loading MS renders the loading screen MS milliseconds after its start instead. The picture fills the largest 4:3 area of the size,\n"
    "between black bars; --draw draws it at WxH off screen and scales it into that area, as a full\n"
    "screen at a lower picked mode does. --supersample N (1-4) draws at N times the size and\n"
    "averages NxN pixels into one. Needs a display (use xvfb-run -a when headless).\n";

static int Usage(const char* problem) {
    if (problem) fprintf(stderr, "kamora-tool render: %s\n", problem);
    fputs(kUsage, problem ? stderr : stdout);
    return problem ? 2 : 0;
}

// One moment of a --at list: its seconds as written (the file's name) and as a number.
struct Moment {
    std::string text;
    double seconds;
};

// "5,42,69.5" in any order; false for an empty item, a negative or a non-number.
static bool ParseMoments(const char* list, std::vector<Moment>* moments) {
    for (const char* at = list;;) {
        const char* comma = strchr(at, ',');
        std::string text = comma ? std::string(at, comma) : std::string(at);
        char* end = nullptr;
        double seconds = strtod(text.c_str(), &end);
        if (text.empty() || *end || seconds < 0) return false;
        moments->push_back({text, seconds});
        if (!comma) return true;
        at = comma + 1;
    }
}

static bool WriteFrame(const std::string& path) {
    RgbImage image;
    ReadFrame(&image);
    if (WritePng(path, image)) return true;
    fprintf(stderr, "kamora-tool render: cannot write %s\n", path.c_str());
    return false;
}

// Every moment in time order in one pass; each frame is read as soon as it is drawn.
static int RenderMoments(std::vector<Moment> moments, const std::string& out, int fps) {
    std::stable_sort(moments.begin(), moments.end(),
                     [](const Moment& a, const Moment& b) { return a.seconds < b.seconds; });
    const bool folder = moments.size() > 1;
    if (!EnterDemo()) return 1;
    int64_t last = -1;
    for (const Moment& m : moments) {
        const int64_t target = FrameAtSeconds(m.seconds, fps);
        // The same frame asked for twice is still on the window.
        if (target != last && !(SeekDemoFrame(target) && RenderDemoFrame(target))) {
            fprintf(stderr, "kamora-tool render: the show has ended before %s s\n", m.text.c_str());
            return 1;
        }
        last = target;
        if (!WriteFrame(folder ? out + "/" + m.text + ".png" : out)) return 1;
    }
    return 0;
}

static int RunRender(int argc, char** argv) {
    if (WantsHelp(argc, argv)) return Usage(nullptr);
    VirtualShowOptions options;
    std::vector<Moment> moments;
    int loading = -1;
    const char* out = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) return Usage("missing value");
        if (!strcmp(argv[i], "--at")) { if (!ParseMoments(value, &moments)) return Usage("bad --at"); }
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
    if (!out || (moments.empty() && loading < 0)) return Usage("--out and --at (or --loading) are required");
    if (options.fps <= 0 || options.fps > 1000) return Usage("--fps must be 1 to 1000");
    if (options.supersample < 1 || options.supersample > 4) return Usage("--supersample must be 1 to 4");
    std::error_code error;  // several moments: --out is a folder, made when missing
    if (moments.size() > 1 && !std::filesystem::create_directories(out, error) && error)
        return Usage("cannot make the --out folder");
    if (!StartVirtualShow(options)) return 1;
    int status = 0;
    if (loading >= 0) {
        RenderLoadingFrame(loading);
        status = WriteFrame(out) ? 0 : 1;
    } else {
        status = RenderMoments(moments, out, options.fps);
    }
    StopVirtualShow();
    return status;
}

static ToolCommand Render("render", "render one frame of the show at a moment to a PNG", RunRender);
