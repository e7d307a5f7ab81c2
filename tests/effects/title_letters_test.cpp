// The title: letters swing in and stop face-on, the white veil fades out in the first 333 ms.
#include "effect_fixture.h"
#include "effects/env_flares.h"
#include "effects/opening_scene.h"
#include "effects/title_letters.h"

#include <gtest/gtest.h>

TEST(TitleLetters, FirstFrameAllLettersInvisibleAndTurnedAway) {
    const float turnedAway[kTitleLetterCount] = {-90, -90, -90, -90, -160, -160};
    for (int i = 0; i < kTitleLetterCount; ++i) {
        TitleLetterPose pose = TitleLetterAt(i, 0);
        EXPECT_LT(pose.alpha, 0) << i;
        EXPECT_EQ(pose.angle, turnedAway[i]) << i;
    }
}

TEST(TitleLetters, LettersStopFaceOnAndAlphasAreNotClamped) {
    const float faceOnAt[kTitleLetterCount] = {1125, 1500, 1125, 3000, 2000, 3200};
    for (int i = 0; i < kTitleLetterCount; ++i) {
        EXPECT_LT(TitleLetterAt(i, faceOnAt[i] - 20).angle, 0) << i;
        EXPECT_EQ(TitleLetterAt(i, faceOnAt[i]).angle, 0) << i;
        EXPECT_EQ(TitleLetterAt(i, 60000).angle, 0) << i;
    }
    EXPECT_NEAR(TitleLetterAt(0, 300).alpha, 0, 1e-6);   // letter k appears 0.3 + 0.2 (k - 1) s in
    EXPECT_NEAR(TitleLetterAt(5, 2300).alpha, 1, 1e-6);  // and is opaque a second later
    EXPECT_NEAR(TitleLetterAt(0, 60000).alpha, 59.7, 1e-3);
}

TEST(TitleLetters, VeilIsGoneFrom334Milliseconds) {
    float alpha = 0;
    EXPECT_TRUE(TitleVeilShown(0, &alpha));
    EXPECT_EQ(alpha, 1);
    EXPECT_TRUE(TitleVeilShown(333, &alpha));
    EXPECT_FALSE(TitleVeilShown(334, &alpha));
}

// Every texture black but the K: what lights the picture is the veil and that letter.
class TitleFrame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!BeginEffectFrame()) GTEST_SKIP() << "no display";
        MakeTestScene(&EnvScene, 7, 3);
        unsigned black = MakeSolidTexture(0, 0, 0);
        for (Texture& t : TitleTextures) t.textureId = black;
        TitleTextures[1].textureId = MakeSolidTexture(255, 255, 255);
        FlareTexture.textureId = black;
        ResetTitleLetters();
    }
    void TearDown() override { UnloadEnvFlares(); }
    int LightAt(int now, int x, int y) {
        ClearEffectFrame();
        DrawTitleLetters(now);
        return RedAt(x, y);
    }
};

TEST_F(TitleFrame, VeilStartsWhiteAndFadesOut) {
    EXPECT_EQ(LightAt(5000, 20, 20), 255) << "the first frame is fully white";
    EXPECT_NEAR(LightAt(5100, 20, 20), 178, 3);
    EXPECT_EQ(LightAt(5334, 20, 20), 0);
}

TEST_F(TitleFrame, TheKStandsFaceOnAtItsPlace) {
    LightAt(1000, 0, 0);
    // (-1, 0, -4.5) lands at x = 320 (1 - 1 / (4.5 x 4/3)) = 267.
    EXPECT_EQ(LightAt(3500, 267, 240), 255);
    EXPECT_EQ(LightAt(3500, 267, 400), 0);
    EXPECT_EQ(LightAt(3500, 150, 240), 0);
}
