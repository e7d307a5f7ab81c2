// The environment-mapped scene fades in over two seconds behind flares, particles and the band.
#include "effect_fixture.h"
#include "effects/effect_loading.h"
#include "effects/env_flares.h"
#include "effects/particles.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

TEST(EnvFlares, FadeRisesFromZeroToFullInTwoSeconds) {
    EXPECT_EQ(EnvFadeAfter(8000, 1000), 0.0f);
    EXPECT_FLOAT_EQ(EnvFadeAfter(9000, 1000), 0.5f);
    EXPECT_FLOAT_EQ(EnvFadeAfter(10000, 1000), 1.0f);
    EXPECT_GT(EnvFadeAfter(12000, 1000), 1.0f) << "handed to GL unclamped";
    // A first frame off the 8 ms grid starts a little above 0.
    EXPECT_NEAR(EnvFadeAfter(8005, 1000), 0.0025f, 1e-6);
}

TEST(EnvFlares, TooFewMeshesAreRefused) {
    Scene scene = {};
    scene.meshCount = 6;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(RequireMeshes(&scene, 7, "flipe_env.3ds"));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("msgbox: Error: flipe_env.3ds"), std::string::npos) << said;
    scene.meshCount = 7;
    EXPECT_TRUE(RequireMeshes(&scene, 7, "flipe_env.3ds"));
}

// A white, sphere-mapped square fills the view; the flares and particles draw black, so the
// picture above the band shows the scene's alpha alone.
class EnvFlaresFrame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!BeginEffectFrame()) GTEST_SKIP() << "no display";
        MakeTestScene(&EnvScene, 7, 3);
        MakeSquareMesh(&EnvScene.meshes[0], 50, -10);
        for (int m = 0; m < 7; ++m) EnvScene.meshes[m].texture = 1, EnvScene.meshes[m].envMap = 1;
        EnvScene.textures[1].textureId = MakeSolidTexture(255, 255, 255);
        EnvScene.textures[2].textureId = MakeSolidTexture(0, 0, 0);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        InitParticles();
        ResetEnvFlares();
    }
    void TearDown() override { UnloadEnvFlares(); }
    int SceneLightAt(int now) {
        ClearEffectFrame();
        DrawEnvFlares(now);
        return RedAt(320, 470);
    }
};

TEST_F(EnvFlaresFrame, SceneFadesInWhileTheBandShowsFromTheFirstFrame) {
    const int start = 40000;
    EXPECT_EQ(SceneLightAt(start), 0) << "first frame: the scene at alpha 0";
    EXPECT_EQ(EnvScene.startFrame, start / 8);
    EXPECT_NEAR(RedAt(320, 240), 51, 3) << "the band is there already";
    SceneLightAt(start + 999);
    EXPECT_NEAR(SceneLightAt(start + 1000), 127, 3) << "half strength one second in";
    SceneLightAt(start + 1999);
    EXPECT_EQ(SceneLightAt(start + 2000), 255);
    EXPECT_EQ(SceneLightAt(start + 5000), 255) << "clamped by GL";
}

TEST_F(EnvFlaresFrame, ResetStartsTheFadeAgain) {
    SceneLightAt(1000);
    SceneLightAt(4000);
    ResetEnvFlares();
    EXPECT_EQ(EnvFade, 0.0f);
    EXPECT_EQ(SceneLightAt(9000), 0);
    EXPECT_EQ(EnvScene.startFrame, 9000 / 8);
}
