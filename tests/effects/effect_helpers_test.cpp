#include "effects/effect_helpers.h"

#include "gl_context.h"
#include "gl_probe.h"
#include "host/demo.h"
#include "render/mesh_draw.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <vector>

namespace {

// The show's frame: 90-degree view of the 640 x 480 test window, ScreenQuad as the host builds it.
class EffectHelpers : public ::testing::Test {
protected:
    std::vector<uint8_t> subPixels = std::vector<uint8_t>(kSubTextureSize * kSubTextureSize * 3, 205);

    void SetUp() override {
        ASSERT_TRUE(OpenTestGLContext());
        ResetTestGLState();
        glMatrixMode(GL_PROJECTION);
        gluPerspective(90, 640.0 / 480.0, 1, 4000);
        glMatrixMode(GL_MODELVIEW);
        const FaceVertex a = {-1, -1, 0, 0, 0}, b = {-1, 1, 0, 0, 1}, c = {1, 1, 0, 1, 1}, d = {1, -1, 0, 1, 0};
        ScreenQuad.faceCount = 2;
        ScreenQuad.faces[0] = Face{3, {a, b, c}};
        ScreenQuad.faces[1] = Face{3, {a, d, c}};
        SubTexture.data = subPixels.data();
    }
    void TearDown() override { SubTexture.data = nullptr; }
};

int Red(int x, int y) {
    unsigned char pixel[4];
    ReadTestPixel(x, y, pixel);
    return pixel[0];
}

float Depth(int x, int y) {
    float depth = -1;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

void ExpectOpaqueWhite() {
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    for (float channel : colour) EXPECT_EQ(channel, 1.0f);
}

void ExpectBlendClosed() {
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depthWrites = 0;
    glGetIntegerv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
}

TEST_F(EffectHelpers, OverlayLeavesTexturingAsItFoundIt) {
    MakeSolidTexture(kSubTextureSize, 0, 0, 0);
    for (bool enabled : {true, false, true}) {
        if (enabled) glEnable(GL_TEXTURE_2D);
        else glDisable(GL_TEXTURE_2D);
        std::vector<float> before = ReadModelview();
        DrawSubTextureOverlay(0.5f);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), enabled ? GL_TRUE : GL_FALSE);
        EXPECT_EQ(ReadModelview(), before);
        ExpectOpaqueWhite();
        ExpectBlendClosed();
    }
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(EffectHelpers, OverlayCopiesTheSubTextureAndCoversThePicture) {
    GLuint target = MakeSolidTexture(kSubTextureSize, 0, 0, 0);
    // Something nearer than the far plane is in the depth buffer first.
    glEnable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPushMatrix();
    glScalef(10, 10, 1);
    DrawMesh(&ScreenQuad, 0, 0, -5, 0, 0, 0);
    glPopMatrix();
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_LT(Depth(320, 240), 1.0f);

    glBindTexture(GL_TEXTURE_2D, target);
    DrawSubTextureOverlay(1);
    // The bound texture now carries the sub texture's picture.
    std::vector<uint8_t> stored(subPixels.size());
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, stored.data());
    EXPECT_EQ(stored, subPixels);
    // Laid over the whole 4:3 picture, corners included.
    const int kPoints[5][2] = {{0, 0}, {639, 0}, {0, 479}, {639, 479}, {320, 240}};
    for (const auto& p : kPoints) {
        EXPECT_NEAR(Red(p[0], p[1]), 205, 2) << p[0] << "," << p[1];
        EXPECT_EQ(Depth(p[0], p[1]), 1.0f) << p[0] << "," << p[1];
    }
    // A second, half-strength pass adds on top.
    DrawSubTextureOverlay(0.25f);
    EXPECT_NEAR(Red(320, 240), 205 + 51, 3);
}

TEST_F(EffectHelpers, OverlayBeforeTheSubTextureExistsDrawsTheBoundPicture) {
    SubTexture.data = nullptr;
    MakeSolidTexture(kSubTextureSize, 60, 60, 60);
    DrawSubTextureOverlay(1);
    EXPECT_NEAR(Red(320, 240), 60, 2);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(EffectHelpers, FadingQuadDrawsAtItsPlaceAndLeavesTexturingOff) {
    GLuint white = MakeSolidTexture(1, 255, 255, 255);
    glBindTexture(GL_TEXTURE_2D, 0);
    struct Case {
        float alpha;
        int expected;
    };
    // At z = -2 a unit is 120 pixels: x from 0.5 to 2.5 is pixels 380 to 620.
    for (Case c : {Case{0.5f, 128}, Case{2.0f, 255}, Case{-1.0f, 0}}) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        std::vector<float> before = ReadModelview();
        DrawFadingQuad(1.5f, 0, -2, c.alpha, white);
        EXPECT_NEAR(Red(500, 240), c.expected, 2) << c.alpha;
        EXPECT_EQ(Red(320, 240), 0);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_EQ(ReadModelview(), before);
        ExpectOpaqueWhite();
        ExpectBlendClosed();
    }
}

}  // namespace
