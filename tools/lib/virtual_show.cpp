#include "lib/virtual_show.h"

#include "gfx/gl.h"
#include "gfx/picture_area.h"
#include "gfx/window.h"
#include "host/demo.h"
#include "host/demo_config.h"
#include "host/frame_timer.h"
#include "host/timeline.h"
#include "lib/frame_pixels.h"
#include "music/music.h"
#include "platform/clock.h"
#include "platform/signals.h"
#include "platform/window.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static VirtualShowOptions Options;
static int64_t OriginFrame = 0;
static int64_t NextFrame = 0;  // the first demo frame not drawn yet
static bool Started = false;
static bool Ended = false;
static bool FullSeek = false;  // frames that are not kept are drawn in full all the same

static bool HaveDisplay() {
    const char* x = getenv("DISPLAY");
    const char* wayland = getenv("WAYLAND_DISPLAY");
    const char* driver = getenv("SDL_VIDEODRIVER");
    return (x && *x) || (wayland && *wayland) || (driver && *driver);
}

// Supersampled frames must fit what the driver draws into. Beyond 16384 a side (the most common
// drivers draw) the window is not even tried: its buffers alone would take gigabytes.
static bool DrawableFits(int mostWide, int mostHigh) {
    if (WindowWidth <= mostWide && WindowHeight <= mostHigh) return true;
    fprintf(stderr, "kamora-tool: the GL driver draws at most %dx%d, not the %dx%d that --supersample %d needs; "
                    "use a smaller --supersample or --size\n", mostWide, mostHigh, WindowWidth, WindowHeight,
            Options.supersample);
    return false;
}

static bool DrawableFitsDriver() {
    GLint most[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, most);
    return DrawableFits(most[0], most[1]);
}

bool StartVirtualShow(const VirtualShowOptions& options) {
    Options = options;
    if (!HaveDisplay()) {
        fprintf(stderr, "kamora-tool: no display to render on; run it under Xvfb, "
                        "e.g. xvfb-run -a kamora-tool ...\n");
        return false;
    }
    const char* full = getenv("KAMORA_FULL_SEEK");
    FullSeek = full && *full && strcmp(full, "0");
    NextFrame = 0;
    Ended = false;
    StartVirtualClock(options.fps);
    PackageFileName = Options.package.c_str();
    SetDefaultConfig();
    DemoConfig.noSound = true;  // the clock is virtual; nothing is played aloud
    StartSound(nullptr);
    WindowWidth = options.width * options.supersample;
    WindowHeight = options.height * options.supersample;
    SetHiddenWindow(true);
    if (!DrawableFits(16384, 16384)) {
        StopSound();
        return false;
    }
    if (!CreateDemoWindow(DemoTitle, WindowWidth, WindowHeight, 32, false)) {
        fprintf(stderr, "kamora-tool: cannot open a GL window of %dx%d%s\n", WindowWidth, WindowHeight,
                options.supersample > 1 ? " for --supersample; use a smaller --supersample or --size" : "");
        StopSound();
        return false;
    }
    Started = true;
    SetPictureDrawSize(options.drawWidth, options.drawHeight);
    if (!DrawableFitsDriver()) {
        StopVirtualShow();
        return false;
    }
    if (!PreloadDemo()) {
        fprintf(stderr, "kamora-tool: pre-loading failed (package '%s')\n", PackageFileName);
        StopVirtualShow();
        return false;
    }
    SetVirtualFrame(0);
    StartFrameTimer();
    return true;
}

bool VirtualShowScaled() { return PictureDrawnOffscreen(); }

static double ScaleMilliseconds = 0;
double LastScaleMilliseconds() { return ScaleMilliseconds; }

// One frame as the show's main loop draws it; the scale step of an offscreen picture is timed on
// its own (the drawing finished before it starts) for bench. A frame not kept goes nowhere.
static bool DrawShowFrame(bool kept) {
    SetPictureHidden(!kept && !FullSeek);
    BeginPictureFrame();
    const bool going = RenderFrame();
    if (kept && PictureDrawnOffscreen()) {
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        EndPictureFrame();
        glFinish();
        ScaleMilliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    return going;
}

bool RenderLoadingFrame(int ms) {
    // The loading screen reads whole milliseconds: put the clock on that millisecond.
    SetVirtualFrame((int64_t)ms * Options.fps / 1000);
    while ((int)ReadFrameTimer() < ms) SetVirtualFrame(VirtualFrame() + 1);
    DrawShowFrame(true);
    glFinish();
    return true;
}

bool EnterDemo() {
    // Loading runs on the frame three seconds in (past the 2.8 s fade); that instant is a whole
    // number of seconds, so every later counter reading is exact relative to it.
    OriginFrame = 3LL * Options.fps;
    SetVirtualFrame(OriginFrame);
    DrawShowFrame(false);
    if (!LoadingDone || DemoFailed) {
        fprintf(stderr, "kamora-tool: loading the show failed\n");
        return false;
    }
    return true;
}

static bool DrawDemoFrame(int64_t frame, bool kept) {
    if (Ended) return false;
    SetVirtualFrame(OriginFrame + frame);
    NextFrame = frame + 1;
    if (!DrawShowFrame(kept)) {
        Ended = true;
        return false;
    }
    // A frame nobody reads needs no finish (the driver flushes on its own); in a browser each
    // finish is a round trip to the GPU process, a quarter of a seek's time.
    if (kept) glFinish();
    return true;
}

bool RenderDemoFrame(int64_t frame) { return DrawDemoFrame(frame, true); }

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool SeekDemoFrame(int64_t frame) {
    const auto started = std::chrono::steady_clock::now();
    const int64_t first = NextFrame, total = frame - first;
    double shown = 0;  // when the last progress line was written (0: none yet)
    for (int64_t f = first; f < frame; ++f) {
        if (TerminationRequested() || !DrawDemoFrame(f, false)) break;
        const int64_t done = f - first + 1;
        const double elapsed = SecondsSince(started);
        // From the first second on, four lines a second and the last one.
        if (elapsed <= 1 || (elapsed - shown < 0.25 && done != total)) continue;
        ShowProgress("seeking: frame", done, total, elapsed);
        shown = elapsed;
    }
    if (shown > 0) fputc('\n', stderr);
    return NextFrame >= frame && !Ended;
}

void ShowProgress(const char* what, int64_t done, int64_t total, double elapsed) {
    double rate = elapsed > 0 ? done / elapsed : 0;
    double left = rate > 0 ? (total - done) / rate : 0;
    fprintf(stderr, "\r%s %lld  %5.1f%%  %6.1f fps  %5.0f s left ", what, (long long)done,
            total > 0 ? 100.0 * done / total : 100.0, rate, left);
}

int64_t DemoOriginFrame() { return OriginFrame; }

void ReadFrame(RgbImage* image) {
    static std::vector<uint8_t> rows;  // kept: a fresh block a frame costs its page faults
    rows.resize((size_t)WindowWidth * WindowHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    FrameFromGlRows(rows.data(), WindowWidth, WindowHeight, Options.supersample, image);
}

void StopVirtualShow() {
    if (!Started) return;
    UnloadDemo();
    StopSound();
    DestroyDemoWindow();
    StopVirtualClock();
    Started = false;
}

int64_t FrameAtSeconds(double seconds, int fps) { return (int64_t)floor(seconds * fps + 1e-9); }

bool ParseSize(const char* text, int* width, int* height) {
    return sscanf(text, "%dx%d", width, height) == 2 && *width > 0 && *height > 0 && *width <= 8192 &&
           *height <= 8192;
}
