#include "host/timeline.h"

#include "gfx/window.h"
#include "host/demo_config.h"
#include "gl_probe.h"
#include "host/demo.h"
#include "host/frame_timer.h"
#include "music/music_clock.h"
#include "platform/clock.h"
#include "recording_timeline.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

// A recording timeline with the show's bounds, fed from a scripted music source.
static std::vector<int> Drawn;
static std::vector<uint32_t> Positions;  // one per read; the last repeats
static size_t NextRead = 0;
static bool Ended = false;

static uint32_t ScriptedPosition() {
    uint32_t p = Positions[NextRead < Positions.size() ? NextRead : Positions.size() - 1];
    ++NextRead;
    return p;
}
static bool ScriptedEnded() { return Ended; }
static const MusicSource Scripted = {ScriptedPosition, ScriptedEnded, nullptr};

static void Record(int slot, int) { Drawn.push_back(slot); }

class TimelineTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetHiddenWindow(true);
        ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
        UseRecordingTimeline(Record);
        UseMusicSource(&Scripted);
        LoadingDone = true;
        DemoFailed = false;
        Ended = false;
    }
    void TearDown() override {
        UseTimeline(nullptr);
        UseMusicSource(nullptr);
        LoadingDone = false;
        DestroyDemoWindow();
    }
    // Renders one frame at a position that does not move; returns RenderFrame's answer.
    bool FrameAt(uint32_t position) { return FrameWith({position}); }
    bool FrameWith(std::vector<uint32_t> reads) {
        Positions = reads;
        NextRead = 0;
        Drawn.clear();
        return RenderFrame();
    }
};

TEST_F(TimelineTest, SlotBoundariesPickTheRightEffect) {
    struct { uint32_t position; std::vector<int> slots; } cases[] = {
        {0, {1}}, {4850431, {1}}, {4850432, {2}}, {7258240, {3}}, {12091903, {4}},
        {22945280, {8}}, {24147623, {8}}, {24147624, {9}}, {27885567, {9}},
    };
    for (auto& c : cases) {
        EXPECT_TRUE(FrameAt(c.position)) << c.position;
        EXPECT_EQ(Drawn, c.slots) << c.position;
    }
}

TEST_F(TimelineTest, EndPositionAndEndedMusicStopTheShow) {
    EXPECT_FALSE(FrameAt(27885568));
    EXPECT_TRUE(Drawn.empty());
    // A shorter track ends the show when it ends rather than freezing on the last Effect.
    Ended = true;
    EXPECT_FALSE(FrameAt(20000000));
    Ended = false;
    DemoFailed = true;
    EXPECT_FALSE(FrameAt(0));
}

TEST_F(TimelineTest, CrossingABoundaryBetweenReadsDrawsBothNeighbours) {
    // Reads: end check, slot 1 upper bound, slot 2 lower and upper bound, then the rest.
    EXPECT_TRUE(FrameWith({4850431, 4850431, 4850432}));
    EXPECT_EQ(Drawn, (std::vector<int>{1, 2}));
    EXPECT_TRUE(FrameWith({24147623, 24147623, 24147623, 24147623, 24147623, 24147623, 24147623,
                           24147623, 24147623, 24147623, 24147623, 24147623, 24147623, 24147623,
                           24147623, 24147623, 24147624}));
    EXPECT_EQ(Drawn, (std::vector<int>{8, 9}));
}

TEST_F(TimelineTest, EndScrollClockStartsAtItsFirstFrame) {
    StartVirtualClock(60);
    SetVirtualFrame(100);
    EndScrollStart = -1;
    FrameAt(24147623);
    EXPECT_EQ(EndScrollStart, -1);
    FrameAt(24147624);
    EXPECT_EQ(EndScrollStart, (int32_t)ReadMillisecondClock());
    SetVirtualFrame(200);
    FrameAt(25000000);
    EXPECT_NE(EndScrollStart, (int32_t)ReadMillisecondClock());  // latched once
    StopVirtualClock();
    EndScrollStart = -1;
}

// The end scroll's top edge in eye space at depth 1.5, from the highest vertex it sends, or -9
// when none reaches the view.
static float EndScrollTop(const std::vector<FeedbackPrimitive>& frame) {
    float top = -9;
    for (const FeedbackPrimitive& p : frame)
        for (const FeedbackVertex& v : p.vertices) top = std::max(top, (v.y - 24) / 24 * 1.5f);
    return top;
}

TEST_F(TimelineTest, EndScrollRisesFromBelowTheView48HundredthsAUnitASecond) {
    const Face square[2] = {{3, {{-1, -1, 0, 0, 0}, {-1, 1, 0, 0, 1}, {1, 1, 0, 1, 1}}},
                            {3, {{-1, -1, 0, 0, 0}, {1, -1, 0, 1, 0}, {1, 1, 0, 1, 1}}}};
    ScreenQuad.faceCount = 2;
    ScreenQuad.faces[0] = square[0];
    ScreenQuad.faces[1] = square[1];
    StartVirtualClock(60);
    EndScrollStart = -1;
    auto topAt = [this](int64_t frame) {
        SetVirtualFrame(frame);
        return EndScrollTop(CaptureFeedback([this] { FrameAt(24147624); }));
    };
    EXPECT_EQ(topAt(100), -9) << "its top edge starts at -1.6, just below the view";
    EXPECT_NEAR(topAt(220), -1.6f + 0.96f, 0.01f);  // 2 s later on the millisecond clock
    EXPECT_NEAR(topAt(340), -1.6f + 1.92f, 0.01f);
    StopVirtualClock();
    EndScrollStart = -1;
}

TEST(LoadingFade, ReachesExactlyOneAt2800msAndLoadsOnlyAfter) {
    EXPECT_FLOAT_EQ(LoadingAlpha(0), 0.0f);
    EXPECT_NEAR(LoadingAlpha(1400), 0.5f, 1e-6);
    EXPECT_EQ(LoadingAlpha(2800), 1.0f);
    EXPECT_FALSE(LoadingAlpha(2800) > 1.0f);
    EXPECT_TRUE(LoadingAlpha(2801) > 1.0f);
}

TEST(FrameTimer, VirtualCounterGivesWholeMillisecondsOfTheFrame) {
    StartVirtualClock(60);
    SetVirtualFrame(0);
    StartFrameTimer();
    EXPECT_TRUE(FrameTimer.usesCounter);
    EXPECT_EQ((int)ReadFrameTimer(), 0);
    for (int64_t frame : {1, 2, 3, 59, 60, 61, 600, 9480}) {
        SetVirtualFrame(frame);
        EXPECT_EQ((int)ReadFrameTimer(), (int)(frame * 1000 / 60)) << frame;
    }
    // 1999.9 ms truncates to 1999.
    StartVirtualClock(10000);
    StartFrameTimer();
    SetVirtualFrame(19999);
    EXPECT_NEAR(ReadFrameTimer(), 1999.9, 1e-3);
    EXPECT_EQ((int)ReadFrameTimer(), 1999);
    StopVirtualClock();
}

TEST(FrameTimer, FallbackAdvancesInWholeMillisecondsAcrossTheClockWrap) {
    SetCounterAvailable(false);
    StartVirtualClock(1000);
    SetVirtualFrame(5);
    StartFrameTimer();
    EXPECT_FALSE(FrameTimer.usesCounter);
    EXPECT_EQ(FrameTimer.frequency, 1000);
    SetVirtualFrame(1005);
    EXPECT_NEAR(ReadFrameTimer(), 1000.0, 1e-3);
    // The millisecond clock wrapping between start and reading still gives the difference.
    FrameTimer.clockStart = 0xFFFFFF00u;
    double expected = (double)(uint32_t)(ReadMillisecondClock() - 0xFFFFFF00u);
    EXPECT_GT(expected, 1000000.0);
    EXPECT_NEAR(ReadFrameTimer(), expected, expected * 1e-7);  // the float resolution's error
    SetCounterAvailable(true);
    StopVirtualClock();
}
