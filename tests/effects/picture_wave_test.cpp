// The picture grid: the black veil of the first five seconds, the dying ripple and the picture's
// every second pixel.
#include "effect_fixture.h"
#include "effects/picture_wave.h"
#include "gl_probe.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

enum { kStart = 2000 };

// Pixel (row, column) is coloured (0.5 + row / 198, column / 99), never black like the veil; odd
// rows and columns carry blue too.
static float PixelValue(int row, int column, int channel) {
    if (channel == 0) return 0.5f + row / 198.0f;
    if (channel == 1) return column / 99.0f;
    return (row % 2 || column % 2) ? 1.0f : 0.0f;
}

class PictureWaveFrame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!BeginEffectFrame()) GTEST_SKIP() << "no display";
        MakeTestScene(&PlanesScene, 1, 1);
        PlanesScene.meshes[0].visible = 0;
        PlanesScene.textures[0].textureId = MakeSolidTexture(255, 255, 255);
        PlanesMatrix = (float*)malloc(kPlanesPictureSize * kPlanesPictureSize * 3 * sizeof(float));
        for (int row = 0; row < kPlanesPictureSize; ++row)
            for (int column = 0; column < kPlanesPictureSize; ++column)
                for (int c = 0; c < 3; ++c)
                    PlanesMatrix[(row * kPlanesPictureSize + column) * 3 + c] = PixelValue(row, column, c);
        ResetPictureWave();
        DrawPictureWave(kStart);  // latches the start time
    }
    void TearDown() override { UnloadPictureWave(); }
    // The scene has no camera: 300 units in front of the eye the whole grid is in view.
    std::vector<FeedbackPrimitive> Frame(int t) {
        ClearEffectFrame();
        return CaptureFeedback([t] {
            glTranslatef(0, 0, -300);
            DrawPictureWave(kStart + t);
        });
    }
    static bool IsVeil(const FeedbackPrimitive& p) {
        return p.token == GL_POLYGON_TOKEN && p.vertices[0].r == 0 && p.vertices[0].g == 0 && p.vertices[0].b == 0;
    }
    int VeilPolygons(int t, float* alpha) {
        int count = 0;
        for (const FeedbackPrimitive& p : Frame(t))
            if (IsVeil(p)) ++count, *alpha = p.vertices[0].a;
        return count;
    }
};

TEST(PictureWave, RippleDiesAwayUntilFlatAt15610Milliseconds) {
    EXPECT_EQ(PictureWaveAmplitude(0), 64);
    EXPECT_NEAR(PictureWaveAmplitude(10000), 23, 1e-4);
    EXPECT_GT(PictureWaveAmplitude(15609), 0);
    EXPECT_EQ(PictureWaveAmplitude(15610), 0);
    EXPECT_EQ(PictureWaveAmplitude(100000), 0);
}

TEST_F(PictureWaveFrame, BlackVeilFadesOutOverFiveSeconds) {
    float alpha = -1;
    EXPECT_EQ(VeilPolygons(0, &alpha), 2);
    EXPECT_EQ(alpha, 1);
    EXPECT_EQ(VeilPolygons(2500, &alpha), 2);
    EXPECT_NEAR(alpha, 0.5f, 1e-6);
    EXPECT_EQ(VeilPolygons(5000, &alpha), 2) << "still drawn, with alpha 0";
    EXPECT_NEAR(alpha, 0, 1e-6);
    EXPECT_EQ(VeilPolygons(5001, &alpha), 0);
}

TEST_F(PictureWaveFrame, VeilHidesThePictureAtTheStart) {
    ClearEffectFrame();
    glTranslatef(0, 0, -300);
    DrawPictureWave(kStart);
    EXPECT_EQ(RedAt(320, 240), 0);
    ClearEffectFrame();
    glTranslatef(0, 0, -300);
    DrawPictureWave(kStart + 20000);
    EXPECT_GT(RedAt(320, 240), 100) << "the picture's middle, rows near 50";
}

TEST_F(PictureWaveFrame, GridShowsEverySecondPixelAndLiesFlatFrom15610) {
    for (int t : {15000, 15610, 30000}) {
        std::vector<FeedbackPrimitive> frame = Frame(t);
        ASSERT_EQ(frame.size(), 2u * kPlanesGridSize * kPlanesGridSize) << t;
        float lowest = 1, highest = 0;
        for (size_t i = 0; i < frame.size(); ++i) {
            const int square = (int)i / 2, row = 2 * (square / kPlanesGridSize), column = 2 * (square % kPlanesGridSize);
            for (const FeedbackVertex& v : frame[i].vertices) {
                ASSERT_NEAR(v.r, PixelValue(row, column, 0), 1e-3) << square;
                ASSERT_NEAR(v.g, PixelValue(row, column, 1), 1e-3) << square;
                ASSERT_EQ(v.b, 0) << square;
                lowest = std::min(lowest, v.z);
                highest = std::max(highest, v.z);
            }
        }
        if (t == 15000)
            EXPECT_GT(highest - lowest, 1e-5) << "still rippling";
        else
            EXPECT_EQ(highest, lowest) << t;
    }
}
