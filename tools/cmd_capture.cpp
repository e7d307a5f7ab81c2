// kamora-tool capture: every frame of a span at a fixed rate with the music of exactly the same
// span, straight into a video file through ffmpeg, or as numbered PNGs and a WAV.
#include "host/timeline.h"
#include "lib/music_export.h"
#include "lib/video_encoder.h"
#include "lib/virtual_show.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/signals.h"
#include "tool_commands.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

static const char* kUsage =
    "usage: kamora-tool capture (--video FILE.mp4 | --out DIR) [--fps 60] [--size 1280x960]\n"
    "                           [--preset 1080p60|1440p60|2160p60] [--supersample N] [--from S]\n"
    "                           [--to S] [--package KaMora.ppk] [--crf 18] [--encoder libx264]\n"
    "                           [--speed medium] [--audio-bitrate 320k]\n"
    "Captures every frame from S to S (default: the whole show) with the music of the same span.\n"
    "--video FILE  encodes straight into FILE with ffmpeg (H.264 yuv420p at --crf, AAC at\n"
    "              --audio-bitrate, +faststart); no frame touches the disk.\n"
    "--out DIR     writes DIR/frame_000000.png ... and DIR/music.wav (both options may be given).\n"
    "--preset      1920x1080, 2560x1440 or 3840x2160 at 60 fps (--size and --fps still apply).\n"
    "--speed       x264's preset: ultrafast, superfast, veryfast, faster, fast, medium (its\n"
    "              default), slow, slower, veryslow.\n"
    "--supersample draws each frame at N (1-4) times the size and averages NxN pixels into one.\n"
    "Ctrl-C or SIGTERM stops early: what was captured is kept and plays (exit code 130).\n"
    "Needs a display (use xvfb-run -a when headless).\n";

struct CaptureOptions {
    VirtualShowOptions show;
    VideoEncoderOptions video;
    std::string out;
    double from = 0;
    double to = 1e9;
};

static int Usage(const char* problem) {
    if (problem) fprintf(stderr, "kamora-tool capture: %s\n", problem);
    fputs(kUsage, problem ? stderr : stdout);
    return problem ? 2 : 0;
}

static bool KnownSpeed(const char* name) {
    static const char* const kSpeeds[] = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                                          "medium",    "slow",      "slower",   "veryslow"};
    for (const char* speed : kSpeeds)
        if (!strcmp(name, speed)) return true;
    return false;
}

static bool ApplyPreset(const char* name, CaptureOptions* o) {
    static const struct { const char* name; int width, height; } kPresets[] = {
        {"1080p60", 1920, 1080}, {"1440p60", 2560, 1440}, {"2160p60", 3840, 2160}};
    for (const auto& p : kPresets) {
        if (strcmp(name, p.name)) continue;
        o->show.width = p.width;
        o->show.height = p.height;
        o->show.fps = 60;
        return true;
    }
    return false;
}

// Options apply in order except --preset, which comes first so that --size or --fps refine it.
static bool ParseCapture(int argc, char** argv, CaptureOptions* o) {
    o->show.width = 1280;
    o->show.height = 960;
    for (int i = 1; i + 1 < argc; i += 2)
        if (!strcmp(argv[i], "--preset") && !ApplyPreset(argv[i + 1], o)) return false;
    for (int i = 1; i < argc; i += 2) {
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!value) return false;
        if (!strcmp(argv[i], "--out")) o->out = value;
        else if (!strcmp(argv[i], "--video")) o->video.path = value;
        else if (!strcmp(argv[i], "--fps")) o->show.fps = atoi(value);
        else if (!strcmp(argv[i], "--size")) { if (!ParseSize(value, &o->show.width, &o->show.height)) return false; }
        else if (!strcmp(argv[i], "--supersample")) o->show.supersample = atoi(value);
        else if (!strcmp(argv[i], "--from")) o->from = atof(value);
        else if (!strcmp(argv[i], "--to")) o->to = atof(value);
        else if (!strcmp(argv[i], "--package")) o->show.package = value;
        else if (!strcmp(argv[i], "--crf")) o->video.crf = atoi(value);
        else if (!strcmp(argv[i], "--encoder")) o->video.encoder = value;
        else if (!strcmp(argv[i], "--speed")) { if (!KnownSpeed(value)) return false; o->video.speed = value; }
        else if (!strcmp(argv[i], "--audio-bitrate")) o->video.audioBitrate = value;
        else if (strcmp(argv[i], "--preset")) return false;
    }
    o->video.width = o->show.width;
    o->video.height = o->show.height;
    o->video.fps = o->show.fps;
    return (!o->out.empty() || !o->video.path.empty()) && o->show.fps > 0 && o->show.fps <= 1000 &&
           o->show.supersample >= 1 && o->show.supersample <= 4 && o->from >= 0 && o->to > o->from;
}

struct CaptureResult {
    int64_t written = 0;
    bool ok = true;
    bool interrupted = false;
};

// Where a capture's time goes (wall seconds); ffmpeg's own CPU time is read once it has ended.
struct CaptureTimes {
    double seeking = 0, drawing = 0, reading = 0, handing = 0, writing = 0, finishing = 0;
};
static CaptureTimes Times;

using Clock = std::chrono::steady_clock;

// Hands one rendered frame to the video and/or the PNG folder.
static bool KeepFrame(const CaptureOptions& o, int64_t frame, int64_t index) {
    RgbImage image;
    auto start = Clock::now();
    ReadFrame(&image);
    Times.reading += SecondsSince(start);
    if (!o.video.path.empty()) {
        static std::vector<uint8_t> pcm;
        start = Clock::now();
        const bool sent =
            MusicOfFrame(frame, o.show.fps, &pcm) && SendVideoFrame(image.pixels.data(), pcm.data(), pcm.size());
        Times.handing += SecondsSince(start);
        if (!sent) return false;
    }
    if (o.out.empty()) return true;
    char name[64];
    snprintf(name, sizeof name, "/frame_%06lld.png", (long long)index);
    start = Clock::now();
    const bool written = WritePng(o.out + name, image);
    Times.writing += SecondsSince(start);
    if (written) return true;
    fprintf(stderr, "\nkamora-tool capture: cannot write %s%s\n", o.out.c_str(), name);
    return false;
}

// Every frame up to the span's end is drawn in order (the show's state depends on them); those
// before `first` are a seek whose pixels go nowhere. The progress rate counts kept frames only.
static CaptureResult CaptureSpan(const CaptureOptions& o, int64_t first, int64_t last) {
    CaptureResult r;
    auto started = Clock::now();
    const bool reached = SeekDemoFrame(first);
    Times.seeking = SecondsSince(started);
    started = Clock::now();
    r.interrupted = !reached && TerminationRequested();
    for (int64_t frame = first; reached && frame <= last; ++frame) {
        if ((r.interrupted = TerminationRequested())) break;
        auto drawing = Clock::now();
        if (!RenderDemoFrame(frame)) break;
        Times.drawing += SecondsSince(drawing);
        if (!(r.ok = KeepFrame(o, frame, r.written))) break;
        ++r.written;
        if (r.written % 10 == 0 || frame == last)
            ShowProgress("frame", r.written, last - first + 1, SecondsSince(started));
    }
    fprintf(stderr, "\n");
    return r;
}

// Where the time of a video capture went; ffmpeg runs beside the drawing, on its own core.
static void ReportTimes(const CaptureOptions& o, double total) {
    const double encoding = EndedChildrenSeconds();  // ffmpeg is the only child, and it has been waited for
    char png[64] = "";
    if (!o.out.empty()) snprintf(png, sizeof png, ", writing PNG files %.1f s", Times.writing);
    fprintf(stderr, "time: %.1f s in all (with starting and loading): seeking %.1f s, drawing %.1f s, "
                    "reading back %.1f s, handing to ffmpeg %.1f s%s, ffmpeg finishing %.1f s; "
                    "ffmpeg's own CPU time %.1f s\n",
            total, Times.seeking, Times.drawing, Times.reading, Times.handing, png, Times.finishing, encoding);
}

static bool PrepareFolder(const std::string& out) {
    if (out.empty() || MakeFolder(out.c_str()) || errno == EEXIST) return true;
    fprintf(stderr, "kamora-tool capture: cannot create %s: %s\n", out.c_str(), strerror(errno));
    return false;
}

static bool StartEncoder(CaptureOptions* o) {
    if (o->video.path.empty()) return true;
    if (!MusicFormat(&o->video.sampleRate, &o->video.channels)) return false;
    return StartVideoEncoder(o->video);
}

static int Report(const CaptureOptions& o, const CaptureResult& r) {
    const double seconds = (double)r.written / o.show.fps;
    std::string where = o.video.path.empty() ? o.out : o.out.empty() ? o.video.path : o.video.path + " and " + o.out;
    if (r.interrupted && r.written == 0) {
        fprintf(stderr, "interrupted before the first frame: nothing captured\n");
        return 130;
    }
    if (!r.ok) {
        fprintf(stderr, "kamora-tool capture: the capture failed after %lld frames\n", (long long)r.written);
        return 1;
    }
    fprintf(stderr, "%s %lld frames (%.2f s) into %s\n", r.interrupted ? "interrupted: kept" : "captured",
            (long long)r.written, seconds, where.c_str());
    return r.interrupted ? 130 : 0;
}

static int RunCapture(int argc, char** argv) {
    const auto started = Clock::now();
    if (WantsHelp(argc, argv)) return Usage(nullptr);
    CaptureOptions o;
    if (!ParseCapture(argc, argv, &o)) return Usage("bad or missing options");
    if (!o.video.path.empty() && (o.show.width % 2 || o.show.height % 2))
        return Usage("a video needs an even width and height (yuv420p)");
    // The show ends at its end position: a span reaching past it (the default) stops there, and
    // the progress line counts the frames that really come.
    const double showEnd = (double)kDemoEndPosition / 176400.0;
    const int64_t first = FrameAtSeconds(o.from, o.show.fps);
    const int64_t last = o.to < showEnd ? FrameAtSeconds(o.to, o.show.fps) - 1  // the span ends before --to
                                        : FrameAtSeconds(showEnd, o.show.fps);
    if (first > last) return Usage("the span holds no frame (the show ends after about 158 s)");
    if (!PrepareFolder(o.out)) return 1;
    InstallTerminationHandlers();  // Ctrl-C ends the capture between two frames, keeping them
    if (!StartVirtualShow(o.show) || !EnterDemo() || !StartEncoder(&o)) {
        StopVirtualShow();
        return 1;
    }
    CaptureResult r = CaptureSpan(o, first, last);
    if (!o.video.path.empty()) {
        if (r.interrupted && r.written > 0) fprintf(stderr, "kamora-tool capture: interrupted; letting ffmpeg finish %s\n",
                                   o.video.path.c_str());
        const auto finishing = Clock::now();
        r.ok = FinishVideoEncoder(r.ok && r.written > 0) && r.ok;  // no frame: no file
        Times.finishing = SecondsSince(finishing);
        ReportTimes(o, SecondsSince(started));
    }
    // The sound of exactly the frames kept: from the first frame's instant to the end of the last.
    if (r.ok && !o.out.empty() && !ExportMusicSpan(first, first + r.written, o.show.fps, o.out + "/music.wav")) {
        fprintf(stderr, "kamora-tool capture: cannot write %s/music.wav\n", o.out.c_str());
        r.ok = false;
    }
    StopVirtualShow();
    return Report(o, r);
}

static ToolCommand Capture("capture", "capture the show at a fixed rate into a video or PNG frames", RunCapture);
