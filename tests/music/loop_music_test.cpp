// The show's loop over the real back end on the no-sound device and the virtual clock: a short
// track that ends starts again from 0, and the show with it.
#include "gfx/window.h"
#include "host/demo_config.h"
#include "host/frame_timer.h"
#include "host/timeline.h"
#include "music/music.h"
#include "music/sound_backend.h"
#include "platform/clock.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>
#include <vector>

static std::vector<int> DrawnNow;
static void RecordFirstSlot(int now) { DrawnNow.push_back(now); }
static void DrawNothing(int) {}

class MusicLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartVirtualClock(50);
        SetVirtualFrame(100);
        // Named after the test: parallel test processes never share a file.
        std::string path = MusicTestFolder() + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".mp3";
        ASSERT_TRUE(MakeToneMp3(path, 44100, 2, 0.5));
        ASSERT_NE(SoundInit(kNoSoundDevice, 44100, 0x18, nullptr), 0);
        ASSERT_NE(SoundStart(), 0);
        MusicStream = SoundStreamCreateFile(0, path.c_str(), 0, 0, 0x20000);
        ASSERT_EQ(SoundErrorGetCode(), 0);
        ASSERT_NE(SoundStreamPlay(MusicStream, 0, 0), 0);
    }
    void TearDown() override {
        StopSound();
        StopVirtualClock();
        DemoConfig.loop = false;
    }
};

TEST_F(MusicLoopTest, FlushPlaysTheStreamAgainFromItsStart) {
    SetVirtualFrame(100 + 50);  // past the end of the half-second tone
    EXPECT_TRUE(SoundChannelEnded(MusicStream));
    EXPECT_EQ(SoundStreamPlay(MusicStream, 0, 0), 1);  // no flush: it stays where it is
    EXPECT_TRUE(SoundChannelEnded(MusicStream));
    EXPECT_EQ(SoundStreamPlay(MusicStream, 1, 0), 1);
    EXPECT_EQ(SoundChannelGetPosition(MusicStream), 0u);
    EXPECT_FALSE(SoundChannelEnded(MusicStream));
    SetVirtualFrame(100 + 50 + 10);
    EXPECT_EQ(SoundChannelGetPosition(MusicStream), 35280u);
}

TEST_F(MusicLoopTest, AnEndedTrackStartsTheShowAgainWhenLooping) {
    TimelineSlot slots[9];
    for (int i = 0; i < 9; ++i) slots[i] = {Timeline[i].first, Timeline[i].last, i == 0 ? RecordFirstSlot : DrawNothing};
    SetHiddenWindow(true);
    ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
    UseTimeline(slots);
    LoadingDone = true;
    DemoConfig.loop = true;
    StartFrameTimer();
    SetVirtualFrame(100 + 20);
    DrawnNow.clear();
    EXPECT_TRUE(RenderFrame());
    SetVirtualFrame(100 + 60);  // the tone ended 0.7 s ago
    EXPECT_TRUE(RenderFrame());
    EXPECT_EQ(SoundChannelGetPosition(MusicStream), 0u);
    EXPECT_EQ(DrawnNow, (std::vector<int>{400, 0}));
    DemoConfig.loop = false;
    SetVirtualFrame(100 + 60 + 30);
    EXPECT_FALSE(RenderFrame());  // untick: the second end ends the show
    UseTimeline(nullptr);
    LoadingDone = false;
    DestroyDemoWindow();
}
