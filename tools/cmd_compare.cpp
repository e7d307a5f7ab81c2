// kamora-tool compare: how far two frames of the same moment are apart, e.g. one drawn through
// another GL than the other. Two measures, since they catch different faults: the mean difference
// sees a picture that is slightly off everywhere (a wrong fog or light term), the share of close
// pixels sees a part that is plainly wrong (a missing object, a shifted edge).
#include "lib/png.h"
#include "tool_commands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* kUsage =
    "usage: kamora-tool compare A.png B.png [--mean 2] [--close 97] [--side-by-side OUT.png]\n"
    "Prints the mean absolute difference of the two frames (levels of 255, the largest of the\n"
    "three channels' means), the share of pixels whose channels all differ by at most 16 levels,\n"
    "and the largest difference. Exits 0 when the mean is at most --mean and the share at least\n"
    "--close percent, 1 when not (or the sizes differ), 2 when a frame cannot be read.\n"
    "--side-by-side writes A, B and their difference (four times as bright) next to each other.\n";

struct FrameDistance {
    double channelMean[3];
    double closeShare;  // 0..1
    int largest;
};

static FrameDistance Measure(const RgbImage& a, const RgbImage& b) {
    FrameDistance d = {{0, 0, 0}, 0, 0};
    size_t close = 0;
    const size_t pixels = (size_t)a.width * a.height;
    for (size_t p = 0; p < pixels; ++p) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int diff = abs(a.pixels[p * 3 + c] - b.pixels[p * 3 + c]);
            d.channelMean[c] += diff;
            worst = std::max(worst, diff);
        }
        close += worst <= 16;
        d.largest = std::max(d.largest, worst);
    }
    for (double& mean : d.channelMean) mean /= pixels ? pixels : 1;
    d.closeShare = pixels ? (double)close / pixels : 1;
    return d;
}

static bool WriteSideBySide(const char* path, const RgbImage& a, const RgbImage& b) {
    RgbImage out;
    out.width = a.width * 3;
    out.height = a.height;
    out.pixels.resize((size_t)out.width * out.height * 3);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t from = ((size_t)y * a.width + x) * 3 + c;
                uint8_t* row = &out.pixels[(size_t)y * out.width * 3 + c];
                row[x * 3] = a.pixels[from];
                row[(a.width + x) * 3] = b.pixels[from];
                row[(2 * a.width + x) * 3] = (uint8_t)std::min(255, 4 * abs(a.pixels[from] - b.pixels[from]));
            }
    return WritePng(path, out);
}

static int Usage(const char* problem) {
    if (problem) fprintf(stderr, "kamora-tool compare: %s\n", problem);
    fputs(kUsage, problem ? stderr : stdout);
    return 2;
}

static int RunCompare(int argc, char** argv) {
    if (WantsHelp(argc, argv)) return Usage(nullptr), 0;
    const char* paths[2] = {nullptr, nullptr};
    const char* sideBySide = nullptr;
    double meanBound = 2, closeBound = 97;
    for (int i = 1, n = 0; i < argc; ++i) {
        const bool valued = !strncmp(argv[i], "--", 2);
        if (valued && i + 1 >= argc) return Usage("missing value");
        if (!strcmp(argv[i], "--mean")) meanBound = atof(argv[++i]);
        else if (!strcmp(argv[i], "--close")) closeBound = atof(argv[++i]);
        else if (!strcmp(argv[i], "--side-by-side")) sideBySide = argv[++i];
        else if (valued || n == 2) return Usage("unknown argument");
        else paths[n++] = argv[i];
    }
    if (!paths[1]) return Usage("two frames are needed");
    RgbImage a, b;
    for (int i = 0; i < 2; ++i)
        if (!ReadPng(paths[i], i ? &b : &a)) return fprintf(stderr, "kamora-tool compare: cannot read %s\n", paths[i]), 2;
    if (a.width != b.width || a.height != b.height) {
        printf("%s vs %s: sizes differ (%dx%d, %dx%d)\n", paths[0], paths[1], a.width, a.height, b.width, b.height);
        return 1;
    }
    const FrameDistance d = Measure(a, b);
    const double mean = std::max({d.channelMean[0], d.channelMean[1], d.channelMean[2]});
    const bool within = mean <= meanBound && d.closeShare * 100 >= closeBound;
    printf("%s vs %s: mean %.2f levels (r %.2f g %.2f b %.2f), %.2f %% within 16 levels, largest %d: %s\n",
           paths[0], paths[1], mean, d.channelMean[0], d.channelMean[1], d.channelMean[2], d.closeShare * 100,
           d.largest, within ? "within bounds" : "OUT OF BOUNDS");
    if (sideBySide && !WriteSideBySide(sideBySide, a, b))
        return fprintf(stderr, "kamora-tool compare: cannot write %s\n", sideBySide), 2;
    return within ? 0 : 1;
}

static ToolCommand Compare("compare", "measure how far two frames of the same moment are apart", RunCompare);
