// The opening: its clock (scene, black veil, logo), the wave sheet and what a frame draws.
#include "effect_fixture.h"
#include "effects/opening_scene.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(OpeningScene, SceneFlaresAndSheetStopWhenTheVeilIsOpaque) {
    EXPECT_TRUE(OpeningSceneMoment(0).sceneShown);
    EXPECT_TRUE(OpeningSceneMoment(22666).sceneShown);
    EXPECT_FALSE(OpeningSceneMoment(22667).sceneShown);
    EXPECT_FALSE(OpeningSceneMoment(40000).sceneShown);
    EXPECT_LT(OpeningSceneMoment(19333).veilAlpha, 0);
    EXPECT_GT(OpeningSceneMoment(19334).veilAlpha, 0);
    EXPECT_GE(OpeningSceneMoment(22667).veilAlpha, 1);
}

TEST(OpeningScene, LogoFadesInThenJumpsToFullAtKSeven) {
    EXPECT_FALSE(OpeningSceneMoment(20666).logoShown);
    OpeningMoment start = OpeningSceneMoment(20667);
    EXPECT_TRUE(start.logoShown);
    EXPECT_NEAR(start.logoAlpha, 0, 0.001);
    OpeningMoment before = OpeningSceneMoment(23333);
    OpeningMoment after = OpeningSceneMoment(23334);
    EXPECT_LT(before.k, 7.0f);
    EXPECT_GE(after.k, 7.0f);
    EXPECT_NEAR(before.logoAlpha, 0.8, 0.001);
    EXPECT_NEAR(after.logoAlpha, 1.2, 0.001);  // GL clamps it to 1
    EXPECT_NEAR(OpeningSceneMoment(27333).logoAlpha, 0, 0.001);
    EXPECT_LT(OpeningSceneMoment(27340).logoAlpha, 0);
}

TEST(OpeningScene, RingStartsAtAngleZero) {
    Vec3 first = OpeningFlarePosition(0, 0);  // radius 30 on the x axis, ring centre at x = -7
    EXPECT_FLOAT_EQ(first.x, 23);
    EXPECT_FLOAT_EQ(first.y, 0);
    EXPECT_FLOAT_EQ(first.z, 0);
}

TEST(WaveMesh, FlatWithoutAmplitudeAndTiledTexture) {
    BuildWaveMesh(1.234f, 0);
    ASSERT_EQ(WaveMesh.faceCount, 216);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f, maxU = 0, maxV = 0;
    for (int f = 0; f < WaveMesh.faceCount; ++f)
        for (const FaceVertex& v : WaveMesh.faces[f].vertices) {
            EXPECT_EQ(v.z, 0.0f);
            minX = fminf(minX, v.x), maxX = fmaxf(maxX, v.x);
            minY = fminf(minY, v.y), maxY = fmaxf(maxY, v.y);
            maxU = fmaxf(maxU, v.u), maxV = fmaxf(maxV, v.v);
        }
    EXPECT_EQ(minX, -100);
    EXPECT_EQ(maxX, 140);
    EXPECT_EQ(minY, -100);
    EXPECT_EQ(maxY, 80);
    EXPECT_NEAR(maxU, 3.6, 1e-4);
    EXPECT_NEAR(maxV, 2.7, 1e-4);
}

TEST(WaveMesh, CellsShareTheirCornersAndDiagonal) {
    BuildWaveMesh(0.5f, 20);
    for (int cell = 0; cell < 108; ++cell) {
        const Face& a = WaveMesh.faces[cell * 2];
        const Face& b = WaveMesh.faces[cell * 2 + 1];
        EXPECT_EQ(a.vertices[0].z, b.vertices[2].z);  // the cell's first corner
        EXPECT_EQ(a.vertices[2].z, b.vertices[0].z);  // the diagonal's far end
    }
    // The far corner: row wave at phase + 9 x 1.043, column wave at phase + 12 x 1.256.
    const FaceVertex& last = WaveMesh.faces[215].vertices[0];
    EXPECT_EQ(last.x, 140);
    EXPECT_EQ(last.y, 80);
    EXPECT_NEAR(last.z, 20 * (sin(0.5 + 9 * 1.043) + cos(0.5 + 12 * 1.256)), 1e-3);
}

class OpeningFrame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!BeginEffectFrame()) GTEST_SKIP() << "no display";
        MakeTestScene(&Scn1Scene, 6, 4);
        MakeTestScene(&LogoScene, 1, 1);
        ResetOpeningScene();
    }
    void TearDown() override {
        UnloadOpeningScene();
        UnloadLogoScene();
    }
};

TEST_F(OpeningFrame, FirstFrameBuildsTheSheetWithPhaseFiftyAndAmplitudeTwenty) {
    DrawOpeningScene(0);
    static Mesh drawn;
    drawn = WaveMesh;
    BuildWaveMesh(50, 20);
    for (int f = 0; f < 216; ++f)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(drawn.faces[f].vertices[c].z, WaveMesh.faces[f].vertices[c].z);
}

TEST_F(OpeningFrame, AfterTheVeilOnlyTheBandLightsTheBlackPicture) {
    WaveMesh.faceCount = 0;
    DrawOpeningScene(25000);
    EXPECT_EQ(WaveMesh.faceCount, 0) << "the sheet is no longer built";
    EXPECT_NEAR(RedAt(320, 240), 51, 3);  // white band at 0.2 over the opaque black veil
    EXPECT_EQ(RedAt(320, 470), 0);        // above the band
    EXPECT_EQ(LogoScene.startFrame, 25000 / 3);
    EXPECT_EQ(Scn1Scene.startFrame, -1) << "the opening camera never started";
}
