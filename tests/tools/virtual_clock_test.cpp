// The toolbox drives the real show on the virtual clock: the same moment renders the same
// picture every time, a capture's frame n is the render of n / fps, and the sound of a capture
// lasts exactly as long as its frames.
#include "lib/png.h"
#include "run_command.h"

#include <fstream>
#include <gtest/gtest.h>

static std::string Build(const std::string& path) { return std::string(KAMORA_BUILD_DIR) + "/" + path; }

class VirtualClockTool : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::ifstream(Build("KaMora.ppk"))) GTEST_SKIP() << "no KaMora.ppk in the build";
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    CommandResult Tool(const std::string& arguments) {
        return RunCommand(Build("kamora-tool") + " " + arguments + " --package '" + Build("KaMora.ppk") + "'", folder);
    }
    std::string folder;
};

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
}

TEST_F(VirtualClockTool, CaptureFramesMatchRendersAndTheSoundLastsAsLong) {
    CommandResult r = Tool("capture --out cap --from 0 --to 1 --fps 30 --size 160x120");
    ASSERT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(RunCommand("ls cap | grep -c '^frame_.*png$'", folder).out, "30\n");
    // 44-byte header plus one second of 44.1 kHz 16-bit stereo.
    EXPECT_EQ(ReadWholeFile(folder + "/cap/music.wav").size(), 44u + 176400u);
    for (int n : {0, 17, 29}) {
        char at[32];
        snprintf(at, sizeof at, "%.6f", n / 30.0);
        ASSERT_EQ(Tool(std::string("render --fps 30 --size 160x120 --out r.png --at ") + at).exitCode, 0);
        char frame[64];
        snprintf(frame, sizeof frame, "/cap/frame_%06d.png", n);
        EXPECT_EQ(ReadWholeFile(folder + frame), ReadWholeFile(folder + "/r.png")) << "frame " << n;
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
