// The toolbox's frames on screens that are not 4:3: the picture area is the largest centred 4:3
// rectangle, black outside, and inside it the frame a 4:3 window of that size shows, its veils and
// overlays covering all of it. A smaller draw size is drawn at that size and scaled into the area.
#include "gfx/picture_area.h"
#include "lib/png.h"
#include "run_command.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

static std::string Build(const std::string& path) { return std::string(KAMORA_BUILD_DIR) + "/" + path; }

// Renders the moment at `size` (fps 1: the frames before it stay few) and reads it back.
static RgbImage Render(const std::string& at, int width, int height, const std::string& extra = "") {
    std::string folder = MakeTestFolder("wide");
    std::string out = folder + "/" + std::to_string(width) + "x" + std::to_string(height) + "_" + at + ".png";
    std::string command = Build("kamora-tool") + " render --fps 1 --at " + at + " --size " + std::to_string(width) +
                          "x" + std::to_string(height) + " " + extra + " --out '" + out + "' --package '" +
                          Build("KaMora.ppk") + "'";
    CommandResult r = RunCommand(command, folder);
    EXPECT_EQ(r.exitCode, 0) << command << "\n" << r.out;
    RgbImage image;
    EXPECT_TRUE(ReadPng(out, &image)) << out;
    return image;
}

static const unsigned char* Pixel(const RgbImage& image, int x, int row) {
    return &image.pixels[((size_t)row * image.width + x) * 3];
}

// The area in image rows (counted from the top, as PNG rows are).
static PictureRect AreaRows(const RgbImage& image) {
    PictureRect a = FitPictureArea(image.width, image.height);
    a.y = image.height - a.y - a.height;
    return a;
}

static bool Inside(const PictureRect& a, int x, int row) {
    return x >= a.x && x < a.x + a.width && row >= a.y && row < a.y + a.height;
}

static int LitOutside(const RgbImage& image) {
    const PictureRect a = AreaRows(image);
    int lit = 0;
    for (int row = 0; row < image.height; ++row)
        for (int x = 0; x < image.width; ++x)
            if (!Inside(a, x, row)) lit += Pixel(image, x, row)[0] | Pixel(image, x, row)[1] | Pixel(image, x, row)[2];
    return lit;
}

// Mean absolute difference (0..255 over every channel) between the area and a 4:3 frame.
static double AreaDifference(const RgbImage& image, const RgbImage& frame) {
    const PictureRect a = AreaRows(image);
    if (frame.width != a.width || frame.height != a.height) return 255;
    double sum = 0;
    for (int row = 0; row < a.height; ++row)
        for (int x = 0; x < a.width; ++x)
            for (int c = 0; c < 3; ++c) sum += std::abs(Pixel(image, a.x + x, a.y + row)[c] - Pixel(frame, x, row)[c]);
    return sum / ((double)a.width * a.height * 3);
}

// The darkest channel over the given rows of the area (all of it when rows is 0).
static int DarkestInArea(const RgbImage& image, int firstRow = 0, int rows = 0) {
    const PictureRect a = AreaRows(image);
    if (!rows) rows = a.height;
    int darkest = 255;
    for (int row = a.y + firstRow; row < a.y + firstRow + rows; ++row)
        for (int x = a.x; x < a.x + a.width; ++x)
            for (int c = 0; c < 3; ++c) darkest = std::min(darkest, (int)Pixel(image, x, row)[c]);
    return darkest;
}

static void ExpectThe43Frame(const RgbImage& image, const RgbImage& frame, const std::string& what) {
    EXPECT_EQ(LitOutside(image), 0) << what << ": the bars are not black";
    EXPECT_LT(AreaDifference(image, frame), 1.0) << what;
}

#define SKIP_WITHOUT_PACKAGE() \
    if (!std::ifstream(Build("KaMora.ppk"))) GTEST_SKIP() << "no KaMora.ppk in the build"

// The opening's white band spans the area's whole width over the middle two thirds of its height,
// on 16:9, 21:9 and portrait screens.
TEST(WideScreenFrames, OpeningBandAt10sOnWideAndTallScreens) {
    SKIP_WITHOUT_PACKAGE();
    const RgbImage wide = Render("10", 1440, 1080), tall = Render("10", 768, 576);
    const int sizes[3][2] = {{1920, 1080}, {2560, 1080}, {768, 1024}};
    for (const auto& size : sizes) {
        RgbImage image = Render("10", size[0], size[1]);
        const PictureRect a = FitPictureArea(size[0], size[1]);
        ExpectThe43Frame(image, size[0] == 768 ? tall : wide, std::to_string(size[0]));
        EXPECT_GE(DarkestInArea(image, a.height / 6 + 2, a.height * 2 / 3 - 4), 45) << size[0];
    }
}

// The title's first frame is white all over the area.
TEST(WideScreenFrames, TitleFirstFrameWhiteAt1920x1200) {
    SKIP_WITHOUT_PACKAGE();
    RgbImage image = Render("42", 1920, 1200);
    ExpectThe43Frame(image, Render("42", 1600, 1200), "1920x1200");
    EXPECT_GE(DarkestInArea(image), 250);
}

// The frog scene's grey overlay washes the whole area, the side strips included.
TEST(WideScreenFrames, FrogOverlayAt56sAt1920x1080) {
    SKIP_WITHOUT_PACKAGE();
    RgbImage image = Render("56", 1920, 1080);
    ExpectThe43Frame(image, Render("56", 1440, 1080), "1920x1080");
    EXPECT_GE(DarkestInArea(image), 190);
}

// What a blit with linear filtering makes of `frame` at width x height.
static RgbImage ScaleLinearly(const RgbImage& frame, int width, int height) {
    RgbImage out;
    out.width = width;
    out.height = height;
    out.pixels.resize((size_t)width * height * 3);
    auto sample = [](double at, int size, int* i0, int* i1, double* f) {
        at = std::max(0.0, std::min((double)size - 1, at));
        *i0 = (int)at;
        *i1 = std::min(size - 1, *i0 + 1);
        *f = at - *i0;
    };
    for (int row = 0; row < height; ++row)
        for (int x = 0; x < width; ++x) {
            int x0, x1, y0, y1;
            double fx, fy;
            sample((x + 0.5) * frame.width / width - 0.5, frame.width, &x0, &x1, &fx);
            sample((row + 0.5) * frame.height / height - 0.5, frame.height, &y0, &y1, &fy);
            for (int c = 0; c < 3; ++c) {
                double top = Pixel(frame, x0, y0)[c] * (1 - fx) + Pixel(frame, x1, y0)[c] * fx;
                double bottom = Pixel(frame, x0, y1)[c] * (1 - fx) + Pixel(frame, x1, y1)[c] * fx;
                out.pixels[((size_t)row * width + x) * 3 + c] = (unsigned char)lround(top * (1 - fy) + bottom * fy);
            }
        }
    return out;
}

// A full screen of 1600 x 900 at a picked 640 x 480: the 640 x 480 frame, scaled to 1200 x 900.
TEST(WideScreenFrames, SmallerDrawSizeIsThatFrameScaledIntoTheArea) {
    SKIP_WITHOUT_PACKAGE();
    RgbImage image = Render("10", 1600, 900, "--draw 640x480");
    RgbImage frame = Render("10", 640, 480);
    EXPECT_EQ(LitOutside(image), 0);
    EXPECT_LT(AreaDifference(image, ScaleLinearly(frame, 1200, 900)), 0.75);  // drawn natively: 2.6
}
