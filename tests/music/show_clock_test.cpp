// The show driven by the real music back end: the Timeline follows the stream's byte position
// through every slot to the end position, frame by frame on the virtual clock.
#include "gfx/window.h"
#include "host/demo_config.h"
#include "host/timeline.h"
#include "music/music.h"
#include "music/sound_backend.h"
#include "platform/clock.h"
#include "recording_timeline.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<int> SlotsSeen;  // each slot once, in the order first drawn

void Record(int slot, int) {
    if (SlotsSeen.empty() || SlotsSeen.back() != slot) SlotsSeen.push_back(slot);
}

class ShowClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHiddenWindow(true);
        ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
        UseRecordingTimeline(Record);
        SlotsSeen.clear();
        StartVirtualClock(kFps);
        SetDefaultConfig();
        DemoConfig.noSound = true;
        ASSERT_TRUE(StartSound(nullptr));
    }
    void TearDown() override {
        StopSound();
        StopVirtualClock();
        UseTimeline(nullptr);
        LoadingDone = false;
        DemoFailed = false;
        DestroyDemoWindow();
    }
    // Loads the music as LoadDemo does (the file goes right after), starts it on frame 0 and
    // renders frames until RenderFrame says stop; returns the last frame that drew.
    int64_t PlayShow(double seconds) {
        std::string path = MusicTestFolder() + "/show-music.mp3";
        EXPECT_TRUE(MakeToneMp3(path, 44100, 2, seconds));
        EXPECT_TRUE(CreateMusicStream(path.c_str()));
        remove(path.c_str());
        LoadingDone = true;
        DemoFailed = false;
        SetVirtualFrame(0);
        EXPECT_NE(SoundStreamPlay(MusicStream, 0, 0), 0);
        int64_t frame = 0;
        for (; frame < 200 * kFps; ++frame) {
            SetVirtualFrame(frame + 1);
            if (!RenderFrame()) break;
        }
        return frame;
    }
    static const int kFps = 25;  // 7056 bytes of music a frame
};

TEST_F(ShowClockTest, RunsThroughEverySlotAndStopsAtTheEndPosition) {
    int64_t last = PlayShow(160.0);
    EXPECT_EQ(SlotsSeen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    // Frame 3952 is at byte 27885312, the next at 27892368: past the end position 27885568.
    EXPECT_EQ(last, 3952);
    EXPECT_FALSE(SoundChannelEnded(MusicStream)) << "the show ends before its music";
}

TEST_F(ShowClockTest, MusicShorterThanTheShowEndsItWhenItEnds) {
    int64_t last = PlayShow(2.0);
    EXPECT_EQ(SlotsSeen, (std::vector<int>{1}));
    EXPECT_EQ(last, 49) << "frame 50 is at the decoded length: the music has ended";
    EXPECT_TRUE(SoundChannelEnded(MusicStream));
}

}  // namespace
