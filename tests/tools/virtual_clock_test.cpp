// The toolbox drives the real show on the virtual clock: the same moment renders the same
// picture every time, a capture's frame n is the render of n / fps, and the sound of a capture
// lasts exactly as long as its frames.
#include "lib/png.h"
#include "tool_test.h"

#include <cstdlib>

class VirtualClockTool : public ToolTest {};

TEST_F(VirtualClockTool, TwoRendersOfOneMomentAreIdentical) {
    ASSERT_EQ(Tool("render --at 1 --size 320x240 --out a.png").exitCode, 0);
    CommandResult second = Tool("render --at 1 --size 320x240 --out b.png");
    ASSERT_EQ(second.exitCode, 0) << second.out;
    std::string a = ReadWholeFile(folder + "/a.png");
    EXPECT_EQ(a, ReadWholeFile(folder + "/b.png"));
    RgbImage image;
    ASSERT_TRUE(ReadPng(folder + "/a.png", &image));
    EXPECT_EQ(image.width, 320);
    EXPECT_EQ(image.height, 240);
    // Several moments in one pass, asked for out of order, give the frames of single renders.
    CommandResult several = Tool("render --at 1.5,1 --size 320x240 --out several");
    ASSERT_EQ(several.exitCode, 0) << several.out;
    RgbImage one;
    ASSERT_TRUE(ReadPng(folder + "/several/1.png", &one));
    EXPECT_EQ(one.pixels, image.pixels);
    EXPECT_TRUE(std::ifstream(folder + "/several/1.5.png").good());
}

// compare's bounds: the mean over a channel and the share of pixels within 16 levels.
TEST_F(VirtualClockTool, CompareHoldsFramesToBothBounds) {
    RgbImage grey;
    grey.width = 100;
    grey.height = 10;
    grey.pixels.assign(3000, 100);
    RgbImage spots = grey;  // 2 % of the pixels 17 levels off in red: mean 0.34, 98 % close
    for (int p = 0; p < 20; ++p) spots.pixels[p * 3 * 50] = 117;
    RgbImage veil = grey;  // every pixel 3 levels off in blue: mean 3, all close
    for (int p = 0; p < 1000; ++p) veil.pixels[p * 3 + 2] = 103;
    ASSERT_TRUE(WritePng(folder + "/grey.png", grey) && WritePng(folder + "/spots.png", spots) &&
                WritePng(folder + "/veil.png", veil));
    auto compare = [&](const std::string& b, const std::string& bounds) {
        return RunCommand(Build("kamora-tool") + " compare grey.png " + b + " " + bounds, folder).exitCode;
    };
    EXPECT_EQ(compare("spots.png", ""), 0);
    EXPECT_EQ(compare("spots.png", "--close 99"), 1);
    EXPECT_EQ(compare("veil.png", ""), 1);
    EXPECT_EQ(compare("veil.png", "--mean 3"), 0);
    EXPECT_EQ(compare("missing.png", ""), 2);
}

TEST_F(VirtualClockTool, CaptureFramesMatchRendersAndTheSoundLastsAsLong) {
    CommandResult r = Tool("capture --out cap --from 0 --to 1 --fps 30 --size 160x120");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(RunCommand("ls cap | grep -c '^frame_.*png$'", folder).out, "30\n");
    // 44-byte header plus one second of 44.1 kHz 16-bit stereo.
    EXPECT_EQ(ReadWholeFile(folder + "/cap/music.wav").size(), 44u + 176400u);
    // The frames are compressed: far smaller than PNGs of stored deflate blocks (at most 65535
    // bytes each, 5 bytes of header apiece) around the same filtered rows.
    const size_t rows = (160 * 3 + 1) * 120;
    const size_t stored = 8 + 25 + 12 + (12 + 2 + rows + 5 * ((rows + 65534) / 65535) + 4);
    for (int n : {0, 17, 29}) {
        char at[32];
        snprintf(at, sizeof at, "%.6f", n / 30.0);
        ASSERT_EQ(Tool(std::string("render --fps 30 --size 160x120 --out r.png --at ") + at).exitCode, 0);
        char frame[64];
        snprintf(frame, sizeof frame, "/cap/frame_%06d.png", n);
        RgbImage captured, rendered;
        ASSERT_TRUE(ReadPng(folder + frame, &captured)) << frame;
        ASSERT_TRUE(ReadPng(folder + "/r.png", &rendered));
        EXPECT_EQ(captured.pixels, rendered.pixels) << "frame " << n;
        EXPECT_LT(ReadWholeFile(folder + frame).size(), stored * 2 / 3) << "frame " << n;
    }
}

// The frames before a kept one go nowhere, yet leave the show as drawing them in full does: a late
// moment (past the frog scene's overlay, the scroller and the end scroll's start) comes out the
// same to the byte, drawn off screen and scaled on a 4:3 frame and supersampled on a wide one.
TEST_F(VirtualClockTool, AQuickSeekGivesTheFrameOfAFullOne) {
    for (const std::string how : {"--size 320x240 --draw 160x120", "--size 256x144 --supersample 2"}) {
        const std::string render = "render --at 140 --fps 2 " + how + " --out ";
        CommandResult quick = Tool(render + "quick.png");
        setenv("KAMORA_FULL_SEEK", "1", 1);
        CommandResult full = Tool(render + "full.png");
        unsetenv("KAMORA_FULL_SEEK");
        ASSERT_EQ(quick.exitCode, 0) << quick.out;
        ASSERT_EQ(full.exitCode, 0) << full.out;
        EXPECT_TRUE(ReadWholeFile(folder + "/quick.png") == ReadWholeFile(folder + "/full.png")) << how;
    }
}

TEST_F(VirtualClockTool, RenderingPastTheEndOrWithoutADisplayFailsClearly) {
    CommandResult late = Tool("render --at 170 --fps 1 --size 32x24 --out late.png");
    EXPECT_NE(late.exitCode, 0);
    EXPECT_NE(late.out.find("has ended"), std::string::npos) << late.out;
    CommandResult headless = RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                                        Build("kamora-tool") + " render --at 1 --out x.png", folder);
    EXPECT_NE(headless.exitCode, 0);
    EXPECT_NE(headless.out.find("Xvfb"), std::string::npos) << headless.out;
}
