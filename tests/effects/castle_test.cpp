// The castle: caption panels one a second from 1 s on, two random draws per panel and frame, and
// the black veil from 5 s to 6 s.
#include "effect_fixture.h"
#include "effects/castle.h"
#include "effects/effect_random.h"
#include "effects/title_letters.h"

#include <cstdlib>
#include <gtest/gtest.h>

enum { kStart = 7000 };

class CastleFrame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!BeginEffectFrame()) GTEST_SKIP() << "no display";
        // Black spheres and an empty castle: only the panels (white) and the veil show.
        MakeTestScene(&CastleScene, 1, kCastleTextureCount);
        unsigned white = MakeSolidTexture(255, 255, 255);
        for (int slot = 0; slot < kCastleTextureCount; ++slot) CastleScene.textures[slot].textureId = white;
        TitleTextures[0].textureId = MakeSolidTexture(0, 0, 0);
        ResetCastle();
        DrawCastle(kStart);  // latches the start time
    }
    void TearDown() override { UnloadCastle(); }
    // Draws the frame `t` ms in and returns how many random values it took.
    int RandomDrawsAt(int t) {
        int sequence[10];
        SeedEffectRandom(99);
        for (int& value : sequence) value = EffectRandom();
        SeedEffectRandom(99);
        ClearEffectFrame();
        DrawCastle(kStart + t);
        const int next = EffectRandom();
        for (int taken = 0; taken < 10; ++taken)
            if (sequence[taken] == next) return taken;
        return -1;
    }
};

TEST_F(CastleFrame, PanelsTakeTwoRandomValuesEachFromOneSecond) {
    EXPECT_EQ(RandomDrawsAt(0), 0);
    EXPECT_EQ(RandomDrawsAt(999), 0);
    EXPECT_EQ(RandomDrawsAt(1000), 2);
    EXPECT_EQ(RandomDrawsAt(1999), 2);
    EXPECT_EQ(RandomDrawsAt(2000), 4);
    EXPECT_EQ(RandomDrawsAt(3000), 6);
    EXPECT_EQ(RandomDrawsAt(4000), 8);
    EXPECT_EQ(RandomDrawsAt(60000), 8);
}

TEST_F(CastleFrame, PanelsShakeWithinAThirtiethPerStepAroundTheirPlaces) {
    CastlePanelPlace first = CastlePanelAt(0, 0, 0);
    EXPECT_FLOAT_EQ(first.x, -1);
    EXPECT_FLOAT_EQ(first.y, 1);
    CastlePanelPlace last = CastlePanelAt(3, 9, 14);  // r1 mod 5 = 4, r2 mod 5 = 4
    EXPECT_NEAR(last.x, -1.4 + 4 / 30.0, 1e-6);
    EXPECT_NEAR(last.y, -0.5 + 4 / 30.0, 1e-6);
}

// (-1, 1, -1.5) lies inside the first panel however it shakes: x = 160, y = 400 on screen.
TEST_F(CastleFrame, EachPanelAppearsAtItsSecond) {
    auto lit = [this](int t, int x, int y) {
        ClearEffectFrame();
        DrawCastle(kStart + t);
        return RedAt(x, y);
    };
    EXPECT_EQ(lit(999, 160, 400), 0);
    EXPECT_EQ(lit(1000, 160, 400), 255);
    // Only the fourth panel reaches (-1.3, -1.2): x = 112, y = 48.
    EXPECT_EQ(lit(3999, 112, 48), 0);
    EXPECT_EQ(lit(4000, 112, 48), 255);
}

TEST_F(CastleFrame, BlackVeilFromFiveToSixSeconds) {
    auto light = [this](int t) {
        ClearEffectFrame();
        DrawCastle(kStart + t);
        return RedAt(160, 400);
    };
    EXPECT_EQ(light(4500), 255) << "a negative alpha leaves the picture as it is";
    EXPECT_EQ(light(5000), 255);
    EXPECT_NEAR(light(5500), 128, 2);
    EXPECT_EQ(light(6000), 0);
    EXPECT_EQ(light(9000), 0);
}
