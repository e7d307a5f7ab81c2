// "Loop demo" on the virtual clock: at the end position the show starts again from its first
// demo frame, with the FrameTimer and the end scroll started over; without the tick it ends.
#include "host/demo_loop.h"
#include "host/timeline.h"
#include "music/music_clock.h"

#include "gfx/window.h"
#include "host/demo_config.h"
#include "host/frame_timer.h"
#include "platform/clock.h"
#include "recording_timeline.h"

#include <gtest/gtest.h>
#include <vector>

// A music that plays at 176400 bytes a second from the virtual frame it was started on.
static int64_t PlayFrame = 0;
static int Restarts = 0;
static bool RestartWorks = true;
static bool RestartRewinds = true;

static uint32_t VirtualPosition() { return (uint32_t)VirtualBytesSince(PlayFrame, 176400, 4); }
static bool NeverEnds() { return false; }
static bool Restart() {
    ++Restarts;
    if (RestartWorks && RestartRewinds) PlayFrame = VirtualFrame();
    return RestartWorks;
}
static const MusicSource VirtualMusic = {VirtualPosition, NeverEnds, Restart};

struct Draw {
    int slot;
    int now;
};
static std::vector<Draw> Drawn;
static void Record(int slot, int now) { Drawn.push_back({slot, now}); }

static const int kFps = 50;
static const int64_t kEndFrame = (int64_t)kDemoEndPosition * kFps / 176400 + 1;  // first frame past the end

class LoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHiddenWindow(true);
        ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
        UseRecordingTimeline(Record);
        UseMusicSource(&VirtualMusic);
        StartVirtualClock(kFps);
        SetVirtualFrame(1000);  // loading took a while
        PlayFrame = 1000;
        StartFrameTimer();
        Restarts = 0;
        RestartWorks = RestartRewinds = true;
        LoadingDone = true;
        DemoFailed = false;
        EndScrollStart = -1;
    }
    void TearDown() override {
        DemoConfig.loop = false;
        StopVirtualClock();
        UseTimeline(nullptr);
        UseMusicSource(nullptr);
        LoadingDone = false;
        EndScrollStart = -1;
        DestroyDemoWindow();
    }
    bool FrameAt(int64_t frame) {
        SetVirtualFrame(frame);
        Drawn.clear();
        return RenderFrame();
    }
};

TEST_F(LoopTest, WithTheTickTheEndStartsTheShowAgainFromItsFirstFrame) {
    DemoConfig.loop = true;
    ASSERT_TRUE(FrameAt(1000));
    ASSERT_EQ(Drawn.size(), 1u);
    EXPECT_EQ(Drawn[0].slot, 1);
    EXPECT_EQ(Drawn[0].now, 0);
    ASSERT_TRUE(FrameAt(1000 + kEndFrame - 2));  // the last frame of the first pass
    EXPECT_EQ(Drawn.back().slot, 9);
    EXPECT_NE(EndScrollStart, -1);

    const int64_t loopFrame = 1000 + kEndFrame;
    ASSERT_TRUE(FrameAt(loopFrame));
    EXPECT_EQ(Restarts, 1);
    ASSERT_EQ(Drawn.size(), 1u);
    EXPECT_EQ(Drawn[0].slot, 1);
    EXPECT_EQ(Drawn[0].now, 0);  // the FrameTimer started over
    EXPECT_EQ(EndScrollStart, -1);
    EXPECT_EQ(ReadMusicPosition(), 0u);

    // The second pass runs as the first did: a second later, slot 1 at 1000 ms.
    ASSERT_TRUE(FrameAt(loopFrame + kFps));
    EXPECT_EQ(Drawn[0].slot, 1);
    EXPECT_EQ(Drawn[0].now, 1000);
    EXPECT_EQ(ReadMusicPosition(), 176400u);
}

TEST_F(LoopTest, WithoutTheTickTheShowEndsAtTheEndPosition) {
    ASSERT_TRUE(FrameAt(1000 + kEndFrame - 2));
    EXPECT_FALSE(FrameAt(1000 + kEndFrame));
    EXPECT_TRUE(Drawn.empty());
    EXPECT_EQ(Restarts, 0);
}

TEST_F(LoopTest, AMusicThatCannotStartAgainEndsTheShowInsteadOfLoopingForever) {
    DemoConfig.loop = true;
    RestartWorks = false;
    EXPECT_FALSE(FrameAt(1000 + kEndFrame));
    RestartWorks = true;
    RestartRewinds = false;  // "restarted" but still at the end
    EXPECT_FALSE(FrameAt(1000 + kEndFrame + 1));
    EXPECT_EQ(Restarts, 2);
    EXPECT_TRUE(Drawn.empty());
}
