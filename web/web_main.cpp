// The browser build's entry. The page's query picks what runs: the show as on the desktop (its
// setup dialog answered by the start screen; ?nodialog skips it, ?ddebug traces to the console),
// still frames on the virtual clock (?at=5,42&size=640x480, for comparison with the toolbox's
// render) or frame times per slot (?bench&size=640x480&seconds=3).
#include "host/debug_log.h"
#include "host/win_main.h"
#include "lib/slot_bench.h"
#include "lib/virtual_show.h"
#include "music/music_clock.h"
#include "platform/web/web_page.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The virtual show asks for a display to draw on; the browser's is the canvas.
static bool StartOnCanvas(const VirtualShowOptions& options) {
    setenv("SDL_VIDEODRIVER", "emscripten", 0);
    return StartVirtualShow(options) && EnterDemo();
}

static bool ReadOptions(VirtualShowOptions* options) {
    const char* size = PageQueryValue("size");
    if (size && !ParseSize(size, &options->width, &options->height)) {
        ReportToPage("kamora: bad size (WxH, e.g. 640x480)");
        return false;
    }
    return true;
}

// A second of show time at a time, with the browser's turn between: the page stays responsive.
static bool SeekInSteps(int64_t frame) {
    for (int64_t step = 60; step < frame; step += 60) {  // steps already drawn cost nothing
        if (!SeekDemoFrame(step)) return false;
        YieldToBrowser();
    }
    return SeekDemoFrame(frame);
}

// Each moment of the list (ascending seconds) is drawn, shown, marked on the canvas, and kept
// there until the reader asks for the next one.
static int RunStills(const char* list) {
    std::vector<std::string> moments;
    for (const char* at = list; *at;) {
        const char* end = at;
        while (*end && *end != ',') ++end;
        moments.emplace_back(at, end);
        at = *end ? end + 1 : end;
    }
    VirtualShowOptions options;
    if (!ReadOptions(&options) || !StartOnCanvas(options)) return 1;
    int64_t last = -1;
    for (const std::string& moment : moments) {
        char* end = nullptr;
        const double seconds = strtod(moment.c_str(), &end);
        const int64_t frame = FrameAtSeconds(seconds, options.fps);
        if (*end || seconds < 0 || frame < last) {
            ReportToPage(("kamora: bad moment '" + moment + "' (ascending seconds)").c_str());
            return 1;
        }
        if (frame != last && !(SeekInSteps(frame) && RenderDemoFrame(frame))) {
            ReportToPage(("kamora: the show has ended before " + moment + " s").c_str());
            return 1;
        }
        last = frame;
        WaitForDisplayRefresh();  // the browser shows the canvas at its next refresh
        WaitForDisplayRefresh();
        MarkCanvasDrawn(moment.c_str());
        while (!PageAsksNextMoment()) WaitForDisplayRefresh();
    }
    StopVirtualShow();
    return 0;
}

static int RunBench() {
    VirtualShowOptions options;
    const char* seconds = PageQueryValue("seconds");
    if (!ReadOptions(&options) || !StartOnCanvas(options)) return 1;
    char line[160];
    for (int slot = 0; slot < 9; ++slot) {
        const SlotResult r = MeasureSlot(slot, seconds ? atof(seconds) : 3.0, options.fps, nullptr, true);
        snprintf(line, sizeof line, "slot %d: median %7.2f ms  p95 %7.2f ms  %7.1f fps", slot + 1, r.median, r.p95,
                 r.fps);
        ReportToPage(line);
        YieldToBrowser();
    }
    StopVirtualShow();
    return 0;
}

static int RunShow() {
    const bool trace = PageQueryValue("ddebug") != nullptr;
    if (trace) SetDebugLogEcho(stdout);  // the browser's console
    return WinMain(trace ? "-ddebug" : PageQueryValue("nodialog") ? "-nodialog" : "");
}

// The music position in bytes of the show's 44.1 kHz 16-bit stereo, for the page's sync check.
extern "C" uint32_t KaMoraMusicPosition() { return ReadMusicPosition(); }

int main() {
    const char* at = PageQueryValue("at");
    const int code = at ? RunStills(at) : PageQueryValue("bench") ? RunBench() : RunShow();
    TellPageShowEnded(code);
    return code;
}
