// kamora-tool capture: every frame of a span as numbered PNGs, with the music of the same span,
// at a fixed rate, the way a video of the show should be made.
#include "host/timeline.h"
#include "lib/virtual_show.h"
#include "lib/music_export.h"
#include "platform/clock.h"
#include "tool_commands.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>

static const char* kUsage =
    "usage: kamora-tool capture --out DIR [--fps 60] [--size 1280x960] [--from S] [--to S]\n"
    "                           [--package KaMora.ppk] [--video FILE.mp4]\n"
    "Writes every frame from S to S (default: the whole show) as DIR/frame_000000.png ... and the\n"
    "music of the same span as DIR/music.wav. With --video the frames and the sound are encoded\n"
    "by ffmpeg when it is installed. Needs a display (use xvfb-run -a when headless).\n";

struct CaptureOptions {
    VirtualShowOptions show;
    std::string out;
    std::string video;
    double from = 0;
    double to = 1e9;
};

static int Usage(const char* problem) {
    if (problem) fprintf(stderr, "kamora-tool capture: %s\n", problem);
    fputs(kUsage, problem ? stderr : stdout);
    return problem ? 2 : 0;
}

static bool ParseCapture(int argc, char** argv, CaptureOptions* o) {
    o->show.width = 1280;
    o->show.height = 960;
    for (int i = 1; i < argc; i += 2) {
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) return false;
        if (!strcmp(argv[i], "--out")) o->out = value;
        else if (!strcmp(argv[i], "--fps")) o->show.fps = atoi(value);
        else if (!strcmp(argv[i], "--size")) { if (!ParseSize(value, &o->show.width, &o->show.height)) return false; }
        else if (!strcmp(argv[i], "--from")) o->from = atof(value);
        else if (!strcmp(argv[i], "--to")) o->to = atof(value);
        else if (!strcmp(argv[i], "--package")) o->show.package = value;
        else if (!strcmp(argv[i], "--video")) o->video = value;
        else return false;
    }
    return !o->out.empty() && o->show.fps > 0 && o->show.fps <= 1000 && o->from >= 0 && o->to > o->from;
}

static void ShowProgress(int64_t done, int64_t total, double elapsed) {
    double rate = elapsed > 0 ? done / elapsed : 0;
    double left = rate > 0 ? (total - done) / rate : 0;
    fprintf(stderr, "\rframe %lld  %5.1f%%  %6.1f fps  %5.0f s left ", (long long)done,
            total > 0 ? 100.0 * done / total : 100.0, rate, left);
}

static int EncodeVideo(const CaptureOptions& o) {
    if (system("command -v ffmpeg >/dev/null 2>&1") != 0) {
        fprintf(stderr, "kamora-tool capture: ffmpeg is not installed; the frames and music.wav are in "
                        "%s (apt-get install ffmpeg to encode a video)\n", o.out.c_str());
        return 1;
    }
    std::string command = "ffmpeg -y -loglevel error -framerate " + std::to_string(o.show.fps) + " -i '" + o.out +
                          "/frame_%06d.png' -i '" + o.out + "/music.wav' -c:v libx264 -pix_fmt yuv420p " +
                          "-c:a aac -shortest '" + o.video + "'";
    return system(command.c_str()) == 0 ? 0 : 1;
}

static int RunCapture(int argc, char** argv) {
    if (WantsHelp(argc, argv)) return Usage(nullptr);
    CaptureOptions o;
    if (!ParseCapture(argc, argv, &o)) return Usage("bad or missing options");
    mkdir(o.out.c_str(), 0755);
    if (!StartVirtualShow(o.show) || !EnterDemo()) {
        StopVirtualShow();
        return 1;
    }
    // The show ends at its end position: a span reaching past it (the default) stops there, and
    // the progress line counts the frames that really come.
    const double showEnd = (double)kDemoEndPosition / 176400.0;
    const int64_t first = FrameAtSeconds(o.from, o.show.fps);
    const int64_t last = o.to < showEnd ? FrameAtSeconds(o.to, o.show.fps) - 1  // the span ends before --to
                                        : FrameAtSeconds(showEnd, o.show.fps);
    const auto started = std::chrono::steady_clock::now();
    int64_t written = 0, frame = 0;
    bool ok = true;
    for (; frame <= last && RenderDemoFrame(frame); ++frame) {
        if (frame < first) continue;
        RgbImage image;
        ReadFrame(&image);
        char name[64];
        snprintf(name, sizeof name, "/frame_%06lld.png", (long long)written);
        if (!(ok = WritePng(o.out + name, image))) break;
        ++written;
        double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (written % 10 == 0 || frame == last) ShowProgress(written, last - first + 1, elapsed);
    }
    fprintf(stderr, "\n");
    // The sound of exactly the frames written: from the first frame's instant to the end of the last.
    if (ok) ok = ExportMusicSpan(first, first + written, o.show.fps, o.out + "/music.wav");
    StopVirtualShow();
    if (!ok) {
        fprintf(stderr, "kamora-tool capture: writing into %s failed\n", o.out.c_str());
        return 1;
    }
    fprintf(stderr, "captured %lld frames into %s\n", (long long)written, o.out.c_str());
    return o.video.empty() ? 0 : EncodeVideo(o);
}

static ToolCommand Capture("capture", "capture frames and music of the show at a fixed rate", RunCapture);
