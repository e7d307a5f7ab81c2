// The sine scroller: the cloud's rotation, the camera's pan, the fading overlay and the bars that
// follow the music position rather than the Effect's clock.
#include "effect_fixture.h"
#include "effects/effect_helpers.h"
#include "effects/scroller.h"
#include "gl_probe.h"
#include "music/music_clock.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

static uint32_t FakePosition = 0;
static uint32_t ReadFakePosition() { return FakePosition; }
static bool NeverEnded() { return false; }
static const MusicSource FakeMusic = {ReadFakePosition, NeverEnded, nullptr};

static const float kCloudPoint[3] = {10, 5, -50};
enum { kStart = 3000 };  // the frame timer at the Effect's first frame

class ScrollerFrame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!BeginEffectFrame()) GTEST_SKIP() << "no display";
        UseMusicSource(&FakeMusic);
        FakePosition = 18122752;
        unsigned white = MakeSolidTexture(255, 255, 255);
        for (Texture& t : ScrollerTextures) t.textureId = white;
        SubTexture.textureId = white;
        PointCloud = (float*)malloc(kCloudPoints * 3 * sizeof(float));
        for (int i = 0; i < kCloudPoints; ++i)
            for (int c = 0; c < 3; ++c) PointCloud[i * 3 + c] = kCloudPoint[c];
        // Black squares but one red: the pixel of row 0, column 0.
        for (auto& row : ScrollColours)
            for (auto& colour : row) colour[0] = colour[1] = colour[2] = 0;
        ScrollColours[0][0][0] = 1;
        ResetScroller();
        DrawScroller(kStart);  // latches the start time
    }
    void TearDown() override {
        UseMusicSource(nullptr);
        free(PointCloud);
        PointCloud = nullptr;
    }
    std::vector<FeedbackPrimitive> Frame(int t) {
        ClearEffectFrame();
        return CaptureFeedback([t] { DrawScroller(kStart + t); });
    }
};

static void Project(float x, float y, float z, double window[3]) {
    double model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, projection, viewport, &window[0], &window[1], &window[2]);
}

static float Width(const FeedbackPrimitive& p) {
    float lo = 1e9f, hi = -1e9f;
    for (const FeedbackVertex& v : p.vertices) lo = std::min(lo, v.x), hi = std::max(hi, v.x);
    return hi - lo;
}

// Full-width white polygons: the raster bars (opaque) and the overlay (fading); the squares are
// small. Clipping may split one triangle into several, so only presence is counted.
struct WideWhite {
    bool bars = false;
    bool overlay = false;
    float overlayAlpha = -1;
};
static WideWhite FindWideWhite(const std::vector<FeedbackPrimitive>& frame) {
    WideWhite found;
    bool squaresSeen = false;  // the bars come before the squares, the overlay after them
    for (const FeedbackPrimitive& p : frame) {
        if (p.token != GL_POLYGON_TOKEN) continue;
        const bool white = p.vertices[0].r == 1 && p.vertices[0].g == 1;
        if (Width(p) < 600 || !white) {
            squaresSeen = true;
        } else if (!squaresSeen) {
            found.bars = true;
        } else {
            found.overlay = true;
            found.overlayAlpha = p.vertices[0].a;
        }
    }
    return found;
}

TEST_F(ScrollerFrame, PointsTurnByATenthOfADegreePerMillisecond) {
    for (int t : {0, 1000}) {
        std::vector<FeedbackPrimitive> frame = Frame(t);
        glLoadIdentity();
        const float a = t * 0.01f;
        glRotatef(a, 1, 0, 0);
        glRotatef(a, 0, 1, 0);
        glRotatef(a, 0, 0, 1);
        double expected[3];
        Project(kCloudPoint[0], kCloudPoint[1], kCloudPoint[2], expected);
        int points = 0;
        for (const FeedbackPrimitive& p : frame) {
            if (p.token != GL_POINT_TOKEN) continue;
            ++points;
            EXPECT_NEAR(p.vertices[0].x, expected[0], 0.01) << t;
            EXPECT_NEAR(p.vertices[0].y, expected[1], 0.01) << t;
            EXPECT_EQ(p.vertices[0].r, 1);
        }
        EXPECT_EQ(points, kCloudPoints);
    }
}

TEST_F(ScrollerFrame, CameraPansFromMinus16At10UnitsASecond) {
    for (int t : {0, 2500}) {
        std::vector<FeedbackPrimitive> frame = Frame(t);
        const float a = t * 0.01f;
        glLoadIdentity();
        gluLookAt(a - 16, 5, 10, a - 16, 5, 0, 1, 45, 0);
        double expected[3];
        Project(0, 0.5f * sinf(a), 2 * sinf(a) - 5, expected);  // the red square's centre
        double x = 0, y = 0;
        int corners = 0;
        for (const FeedbackPrimitive& p : frame)
            if (p.token == GL_POLYGON_TOKEN && p.vertices[0].r == 1 && p.vertices[0].g == 0)
                for (const FeedbackVertex& v : p.vertices) x += v.x, y += v.y, ++corners;
        ASSERT_EQ(corners, 6) << t << ": the red square's two triangles";
        EXPECT_NEAR(x / corners, expected[0], 0.05) << t;
        EXPECT_NEAR(y / corners, expected[1], 0.05) << t;
    }
}

TEST_F(ScrollerFrame, OverlayFadesOutOverTheFirst800Milliseconds) {
    WideWhite w = FindWideWhite(Frame(0));
    EXPECT_TRUE(w.overlay);
    EXPECT_EQ(w.overlayAlpha, 1);
    w = FindWideWhite(Frame(400));
    EXPECT_NEAR(w.overlayAlpha, 0.5f, 1e-6);
    w = FindWideWhite(Frame(800));
    EXPECT_TRUE(w.overlay) << "still drawn, with alpha 0";
    EXPECT_EQ(w.overlayAlpha, 0);
    EXPECT_FALSE(FindWideWhite(Frame(801)).overlay);
}

TEST_F(ScrollerFrame, BarsFollowTheMusicPositionNotTheClock) {
    FakePosition = kBarsStart - 1;
    EXPECT_FALSE(FindWideWhite(Frame(60000)).bars);
    FakePosition = kBarsStart;
    EXPECT_TRUE(FindWideWhite(Frame(5000)).bars);
    WideWhite early = FindWideWhite(Frame(100));  // early in the Effect's own time, with the overlay
    EXPECT_TRUE(early.bars);
    EXPECT_TRUE(early.overlay);
}
