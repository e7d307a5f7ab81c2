// Golden frames: the show rendered by the toolbox at listed moments, compared with references.
// Thresholds survive llvmpipe's rounding but catch a moved object or a wrong blend.
#include "lib/png.h"
#include "run_command.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

static std::string Build(const std::string& path) { return std::string(KAMORA_BUILD_DIR) + "/" + path; }
static std::string Source(const std::string& path) { return std::string(KAMORA_SOURCE_DIR) + "/" + path; }

struct FrameDifference {
    double meanAbsolute;  // over all channels, 0..255
    double shareOff;      // pixels with a channel off by more than 24
};

static FrameDifference Compare(const RgbImage& a, const RgbImage& b) {
    double sum = 0;
    size_t off = 0;
    for (size_t p = 0; p + 2 < a.pixels.size(); p += 3) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            int d = std::abs((int)a.pixels[p + c] - (int)b.pixels[p + c]);
            sum += d;
            worst = std::max(worst, d);
        }
        off += worst > 24;
    }
    return {sum / a.pixels.size(), (double)off / (a.pixels.size() / 3)};
}

static std::string RenderCommand(const std::string& what, const std::string& size, const std::string& fps,
                                 const std::string& out) {
    std::string moment = what.rfind("loading:", 0) == 0 ? "--loading " + what.substr(8) : "--at " + what.substr(3);
    return Build("kamora-tool") + " render " + moment + " --size " + size + " --fps " + fps + " --out '" + out +
           "' --package '" + Build("KaMora.ppk") + "'";
}

TEST(GoldenFrames, MatchTheReferences) {
    if (!std::ifstream(Build("KaMora.ppk"))) {
        GTEST_SKIP() << "no KaMora.ppk in the build";
    }
    const bool update = getenv("KAMORA_GOLDEN_UPDATE") != nullptr;
    std::ifstream list(Source("tests/golden/frames.txt"));
    std::string line;
    std::string folder = MakeTestFolder("golden");
    int checked = 0;
    while (std::getline(list, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, what, size, fps = "60";
        fields >> name >> what >> size >> fps;
        std::string out = folder + "/" + name + ".png";
        CommandResult r = RunCommand(RenderCommand(what, size, fps, out), folder);
        ASSERT_EQ(r.exitCode, 0) << line << "\n" << r.out;
        std::string reference = Source("tests/golden/" + name + ".png");
        if (update) {
            ASSERT_EQ(RunCommand("cp '" + out + "' '" + reference + "'").exitCode, 0);
            continue;
        }
        RgbImage got, want;
        ASSERT_TRUE(ReadPng(out, &got)) << out;
        ASSERT_TRUE(ReadPng(reference, &want)) << "missing reference " << reference << " (KAMORA_GOLDEN_UPDATE=1)";
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        FrameDifference d = Compare(got, want);
        EXPECT_LT(d.meanAbsolute, 3.0) << name;
        EXPECT_LT(d.shareOff, 0.02) << name;
        ++checked;
    }
    if (!update) {
        EXPECT_GT(checked, 0);
    }
}
