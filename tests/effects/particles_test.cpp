#include "effects/particles.h"
#include "effects/effect_random.h"

#include "gl_context.h"
#include "gl_probe.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

class ParticleFountain : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGLContext());
        ResetTestGLState();
        glMatrixMode(GL_PROJECTION);
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        CameraEye = MakeVec3(0, 0, 500);
    }
};

// Small enough that every quad stays inside the view.
const Vec3 kTinyScale = {0.001f, 0.001f, 77};

std::vector<int> NextRandoms(unsigned seed, int count) {
    SeedEffectRandom(seed);
    std::vector<int> numbers(count);
    for (int& n : numbers) n = EffectRandom();
    SeedEffectRandom(seed);
    return numbers;
}

float Fade(int r) { return (float)((r % 100) * 0.001 + 0.003); }

TEST_F(ParticleFountain, InitDrawsFadeThenVelocityPerParticle) {
    std::vector<int> r = NextRandoms(1234, 4 * kParticleCount);
    Particles[5].position = MakeVec3(9, 9, 9);
    ASSERT_EQ(InitParticles(), 1);
    for (int k = 0; k < kParticleCount; ++k) {
        const Particle& p = Particles[k];
        EXPECT_EQ(p.life, 3.0f);
        EXPECT_EQ(p.fade, Fade(r[4 * k]));
        EXPECT_EQ(p.velocity.x, (float)((r[4 * k + 1] % 100 - 26) * 10));
        EXPECT_EQ(p.velocity.y, (float)((r[4 * k + 2] % 100 - 25) * 10));
        EXPECT_EQ(p.velocity.z, (float)((r[4 * k + 3] % 100 - 25) * 10));
        EXPECT_TRUE(p.fade >= 0.003f && p.fade <= 0.1021f);
        EXPECT_TRUE(p.velocity.x >= -260 && p.velocity.x <= 730);
        EXPECT_EQ(p.position.x, 0);
        EXPECT_EQ(p.acceleration.z, 0);
    }
    // The next number is the one after the last particle's draws.
    int next = EffectRandom();
    EXPECT_EQ(next, NextRandoms(1234, 4 * kParticleCount + 1).back());

    ASSERT_EQ(ParticleQuad.faceCount, 2);
    const FaceVertex kCorners[2][3] = {{{-50, -50, 0, 0, 0}, {-50, 50, 0, 0, 1}, {50, 50, 0, 1, 1}},
                                       {{-50, -50, 0, 0, 0}, {50, -50, 0, 1, 0}, {50, 50, 0, 1, 1}}};
    for (int f = 0; f < 2; ++f)
        for (int v = 0; v < 3; ++v) {
            const FaceVertex& got = ParticleQuad.faces[f].vertices[v];
            const FaceVertex& want = kCorners[f][v];
            EXPECT_TRUE(got.x == want.x && got.y == want.y && got.z == 0 && got.u == want.u && got.v == want.v)
                << "face " << f << " corner " << v;
        }
}

TEST_F(ParticleFountain, FirstFrameDrawsEveryParticleAtTheOffsetFullyOpaque) {
    InitParticles();
    glDepthMask(GL_FALSE);
    glEnable(GL_CULL_FACE);
    auto primitives = CaptureFeedback([] { DrawParticles(100, -200, 0.5f, kTinyScale); });
    ASSERT_EQ(primitives.size(), 2u * kParticleCount);
    // Scaled in x and y only: the quads' centre is (0.1, -0.2) in the view, pixel (352, 192).
    for (int k = 0; k < kParticleCount; ++k) {
        float sx = 0, sy = 0;
        for (int f = 0; f < 2; ++f) {
            const FeedbackPrimitive& face = primitives[2 * k + f];
            ASSERT_EQ(face.vertices.size(), 3u);
            for (const FeedbackVertex& v : face.vertices) {
                sx += v.x;
                sy += v.y;
                EXPECT_EQ(v.a, 1.0f);  // life 3 clamps to 1
            }
        }
        EXPECT_NEAR(sx / 6, 352, 0.05f);
        EXPECT_NEAR(sy / 6, 192, 0.05f);
    }
    // Then every particle took one step.
    for (const Particle& p : Particles) {
        EXPECT_FLOAT_EQ(p.position.z, p.velocity.z * 0.01f);
        EXPECT_FLOAT_EQ(p.life, 3.0f - p.fade);
    }
    GLint depthWrites = 0;
    glGetIntegerv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(ParticleFountain, QuadsTurnByTheDirectionTowardTheEye) {
    InitParticles();
    CameraEye = MakeVec3(0, 0, 0);  // straight ahead: no turn
    Particles[0].position = MakeVec3(0, 0, 0);
    auto flat = CaptureFeedback([] { DrawParticles(0, 0, 0, kTinyScale); });
    InitParticles();
    // EnvNormal from the origin to (0, 0, 90) is (0, 0, 1): a turn of one degree about z.
    CameraEye = MakeVec3(0, 0, 90);
    auto turned = CaptureFeedback([] { DrawParticles(0, 0, 0, kTinyScale); });
    ASSERT_FALSE(flat.empty());
    ASSERT_FALSE(turned.empty());
    // Corner (-50, -50) of the first face, 0.05 across in the view and 16 pixels from the centre.
    EXPECT_NEAR(flat[0].vertices[0].x, 320 - 16, 0.01f);
    EXPECT_GT(turned[0].vertices[0].x, flat[0].vertices[0].x + 0.2f);
}

TEST_F(ParticleFountain, RebirthDrawsTowardNegativeZInOrder) {
    InitParticles();
    for (Particle& p : Particles) {
        p.life = 0.001f;
        p.fade = 0.01f;
        p.velocity = MakeVec3(3, 4, 5);
    }
    std::vector<int> r = NextRandoms(99, 4 * kParticleCount);
    DrawParticles(0, 0, 0, kTinyScale);
    for (int k = 0; k < kParticleCount; ++k) {
        const Particle& p = Particles[k];
        EXPECT_EQ(p.life, 1.0f);
        EXPECT_EQ(p.position.x, 0);
        EXPECT_EQ(p.position.z, 0);
        EXPECT_EQ(p.fade, Fade(r[4 * k]));
        EXPECT_EQ(p.velocity.x, (float)((r[4 * k + 1] % 70 - 26) * 10));
        EXPECT_EQ(p.velocity.y, (float)((r[4 * k + 2] % 70 - 25) * 10));
        EXPECT_EQ(p.velocity.z, (float)((r[4 * k + 3] % 70 - 105) * 10));
        EXPECT_TRUE(p.velocity.x >= -260 && p.velocity.x <= 430);
        EXPECT_TRUE(p.velocity.y >= -250 && p.velocity.y <= 440);
        EXPECT_TRUE(p.velocity.z >= -1050 && p.velocity.z <= -360);
    }
}

TEST_F(ParticleFountain, LifeRunsOutAfterItsFrames) {
    InitParticles();
    Particles[0].fade = 0.102f;  // 30 frames from 3, then 10 from 1
    Particles[1].fade = 0.003f;
    for (int frame = 1; frame <= 29; ++frame) DrawParticles(0, 0, 0, kTinyScale);
    EXPECT_GT(Particles[0].life, 0);
    EXPECT_LT(Particles[0].life, 0.1f);
    DrawParticles(0, 0, 0, kTinyScale);
    EXPECT_EQ(Particles[0].life, 1.0f);
    EXPECT_FLOAT_EQ(Particles[1].life, 3 - 30 * 0.003f);
    Particles[0].fade = 0.102f;
    for (int frame = 1; frame <= 9; ++frame) DrawParticles(0, 0, 0, kTinyScale);
    EXPECT_GT(Particles[0].life, 0);
    DrawParticles(0, 0, 0, kTinyScale);
    EXPECT_EQ(Particles[0].life, 1.0f);
}

}  // namespace
