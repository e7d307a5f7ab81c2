// The frog scene with its cube field, the tube ride and the fog flight, drawn in the test window
// with hand-made Scenes (no camera: drawn from the eye at the origin) and solid-colour textures.
#include "effects/fog_flight.h"
#include "effects/frog_cubes.h"
#include "effects/tube.h"

#include "gl_context.h"
#include "gl_probe.h"
#include "host/demo.h"
#include "package/package.h"
#include "render/mesh_draw.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <cmath>
#include <fstream>

namespace {

struct Rgb {
    unsigned char r, g, b;
};
const Rgb kBlack = {0, 0, 0}, kRed = {255, 0, 0}, kGreen = {0, 255, 0}, kBlue = {0, 0, 255};
const Rgb kYellow = {255, 255, 0}, kCyan = {0, 255, 255}, kMagenta = {255, 0, 255};

void MakeSquare(Mesh* mesh, float half, float z) {
    const FaceVertex a = {-half, -half, z, 0, 0}, b = {-half, half, z, 0, 1};
    const FaceVertex c = {half, half, z, 1, 1}, d = {half, -half, z, 1, 0};
    mesh->faceCount = 2;
    mesh->faces[0] = Face{3, {a, b, c}};
    mesh->faces[1] = Face{3, {a, d, c}};
}

// Visible Meshes without faces and black textures, as LoadScene would leave them plus textures;
// room for one Mesh even when the Scene starts without any.
void MakeScene(Scene* scene, int meshCount, int textureCount) {
    scene->textureCount = (int8_t)textureCount;
    ASSERT_TRUE(AllocScene(scene, meshCount ? meshCount : 1, 0, textureCount));
    for (int m = 0; m < (meshCount ? meshCount : 1); ++m) {
        scene->meshes[m] = Mesh{};
        scene->meshes[m].visible = 1;
        scene->meshes[m].alpha = 1;
    }
    scene->meshCount = meshCount;
    for (int i = 0; i < textureCount; ++i) scene->textures[i].textureId = MakeSolidTexture(4, 0, 0, 0);
}

void Paint(Scene* scene, int slot, Rgb colour) {
    scene->textures[slot].textureId = MakeSolidTexture(4, colour.r, colour.g, colour.b);
}

void DrawFrame(void (*draw)(int), int now) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    draw(now);
}

// The pixel on which the eye-space point lands in the 640 x 480 window with a 90-degree view.
Rgb PixelAt(float x, float y, float z) {
    int px = (int)(320 + x / -z * 0.75f * 320), py = (int)(240 + y / -z * 240);
    unsigned char rgba[4];
    ReadTestPixel(px, py, rgba);
    return Rgb{rgba[0], rgba[1], rgba[2]};
}

void ExpectColour(Rgb seen, Rgb expected, const char* where) {
    EXPECT_NEAR(seen.r, expected.r, 2) << where;
    EXPECT_NEAR(seen.g, expected.g, 2) << where;
    EXPECT_NEAR(seen.b, expected.b, 2) << where;
}

// The alpha, after clamping, of every polygon that reached the rasteriser.
std::vector<float> PolygonAlphas(void (*draw)(int), int now) {
    std::vector<float> alphas;
    for (const FeedbackPrimitive& p : CaptureFeedback([&] { DrawFrame(draw, now); }))
        if (p.token == GL_POLYGON_TOKEN && !p.vertices.empty()) alphas.push_back(p.vertices[0].a);
    return alphas;
}

int CountAlpha(const std::vector<float>& alphas, float alpha) {
    int count = 0;
    for (float a : alphas) count += std::fabs(a - alpha) < 0.01f;
    return count;
}

// The show's 90-degree 4:3 view, ScreenQuad, depth test, and the four Scenes with nothing in them.
class SceneEffects : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGLContext(640, 480));
        ResetTestGLState();
        UseShowProjection();
        glEnable(GL_DEPTH_TEST);
        MakeSquare(&ScreenQuad, 1, 0);
        MakeScene(&FrogScene, 0, kFrogTextureCount);
        MakeScene(&CubeScene, 1, 1);
        MakeSquare(&CubeScene.meshes[0], 25, 0);
        MakeScene(&TubeScene, 0, kTubeTextureCount);
        MakeScene(&FogScene, 0, kFogTextureCount);
    }
    void TearDown() override {
        for (Scene* scene : {&FrogScene, &CubeScene, &TubeScene, &FogScene}) UnloadScene(scene);
        ResetFrogCubes();
        ResetTube();
        ResetFogFlight();
        ResetTestGLState();
    }
    static void UseShowProjection() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90, 640.0 / 480.0, 1, 4000);
        glMatrixMode(GL_MODELVIEW);
    }
};

TEST(SceneEffectMaterials, EveryMeshGetsAValidSlot) {
    Scene scene = {};
    MakeScene(&scene, 13, 0);
    AssignFrogMaterials(&scene);
    const int frog[13] = {2, 0, 0, 4, 4, 4, 4, 1, 1, 5, 3, 3, 3};
    for (int m = 0; m < 13; ++m) EXPECT_EQ(scene.meshes[m].texture, frog[m]) << "frog mesh " << m;
    AssignTubeMaterials(&scene);
    for (int m = 0; m < 13; ++m) EXPECT_EQ(scene.meshes[m].texture, m ? 1 : 0) << "tube mesh " << m;
    UnloadScene(&scene);

    MakeScene(&scene, 26, 0);
    AssignFogMaterials(&scene);
    const int fog[26] = {5, 0, 1, 2, 1, 1, 1, 1, 1, 3, 3, 3, 3, 3, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 2, 2};
    for (int m = 0; m < 26; ++m) EXPECT_EQ(scene.meshes[m].texture, fog[m]) << "fog mesh " << m;
    UnloadScene(&scene);
}

// Under a huge orthographic box nothing is clipped, so every layer reaches the feedback in
// drawing order: frog scene (2), cluster (7 x 2), field (64 x 2), captions (3 x 2), overlay (2).
TEST_F(SceneEffects, FrogCubesFadesFromTheFrogToTheField) {
    FrogScene.meshCount = 1;
    MakeSquare(&FrogScene.meshes[0], 20, -10);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1e4, 1e4, -1e4, 1e4, -1e5, 1e5);
    glMatrixMode(GL_MODELVIEW);
    struct Layers {
        float frog, cluster, field, captions;
    };
    auto expectLayers = [](const std::vector<float>& alphas, Layers expected, int now) {
        ASSERT_EQ(alphas.size(), 2u + 14 + 128 + 6 + 2) << "at " << now;
        auto all = [&](size_t from, size_t count, float alpha) {
            for (size_t i = from; i < from + count; ++i) EXPECT_NEAR(alphas[i], alpha, 0.01f) << now << " #" << i;
        };
        all(0, 2, expected.frog);
        all(2, 14, expected.cluster);
        all(16, 128, expected.field);
        all(144, 6, expected.captions);
        all(150, 2, 1);
    };
    // At the start the frog scene and the cluster are opaque (23 clamps to 1), nothing else shows.
    expectLayers(PolygonAlphas(DrawFrogCubes, 5000), {1, 1, 0, 0}, 0);
    expectLayers(PolygonAlphas(DrawFrogCubes, 5000 + 4000), {1, 1, 0, 1}, 4000);
    expectLayers(PolygonAlphas(DrawFrogCubes, 5000 + 11000), {1, 1, 0, 1}, 11000);
    expectLayers(PolygonAlphas(DrawFrogCubes, 5000 + 11250), {0.5f, 0.5f, 0.5f, 0}, 11250);
    expectLayers(PolygonAlphas(DrawFrogCubes, 5000 + 11500), {0, 0, 1, 0}, 11500);

    // The field's phase starts again each frame: the same moment draws the same field.
    auto fieldAt = [](int now) {
        std::vector<FeedbackPrimitive> all = CaptureFeedback([&] { DrawFrame(DrawFrogCubes, now); });
        if (all.size() < 144) return std::vector<FeedbackPrimitive>();
        return std::vector<FeedbackPrimitive>(all.begin() + 16, all.begin() + 144);
    };
    std::vector<FeedbackPrimitive> first = fieldAt(5000 + 12000), again = fieldAt(5000 + 12000);
    ASSERT_EQ(first.size(), again.size());
    for (size_t i = 0; i < first.size(); ++i)
        for (size_t v = 0; v < first[i].vertices.size(); ++v) {
            EXPECT_EQ(first[i].vertices[v].x, again[i].vertices[v].x);
            EXPECT_EQ(first[i].vertices[v].y, again[i].vertices[v].y);
        }
}

TEST_F(SceneEffects, FrogCaptionsChangeOnlyAfterTheEleventhSecond) {
    const Rgb firstPhase[3] = {kRed, kGreen, kBlue}, secondPhase[3] = {kYellow, kCyan, kMagenta};
    const int firstSlots[3] = {7, 8, 12}, secondSlots[3] = {9, 10, 11};
    for (int i = 0; i < 3; ++i) {
        Paint(&FrogScene, firstSlots[i], firstPhase[i]);
        Paint(&FrogScene, secondSlots[i], secondPhase[i]);
    }
    DrawFrame(DrawFrogCubes, 100);  // the start
    // At exactly 11 s e is 1: the first three captions, fully faded in.
    DrawFrame(DrawFrogCubes, 100 + 11000);
    ExpectColour(PixelAt(-1.3f, 1, -2), kRed, "t_01 at 11 s");
    ExpectColour(PixelAt(0.9f, 1, -2), kGreen, "t_02 at 11 s");
    ExpectColour(PixelAt(1, -1, -2), kBlue, "t_06 at 11 s");
    // One millisecond later the second phase holds, its captions not yet faded in.
    DrawFrame(DrawFrogCubes, 100 + 11001);
    ExpectColour(PixelAt(-1.3f, 1, -2), kBlack, "t_01 gone");
    ExpectColour(PixelAt(0.9f, 1, -2), kBlack, "t_02 gone");
    DrawFrame(DrawFrogCubes, 100 + 15000);
    ExpectColour(PixelAt(-1.3f, 1, -2), kYellow, "t_03");
    ExpectColour(PixelAt(-1.3f, -1, -2), kCyan, "t_04");
    ExpectColour(PixelAt(1.3f, -1, -2), kMagenta, "t_05");
    ExpectColour(PixelAt(0.9f, 1, -2), kBlack, "t_02 at 15 s");
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

// Light 0 in eye space, after the division by w.
float LightZeroHeight() {
    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    return position[1] / position[3];
}

void ExpectTubeMaterial() {
    GLfloat specular[4], shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glGetMaterialfv(GL_BACK, GL_SHININESS, &shininess);
    EXPECT_EQ(specular[0], 1);
    EXPECT_EQ(specular[2], 1);
    EXPECT_EQ(specular[3], 0);
    EXPECT_EQ(shininess, 50);
}

TEST_F(SceneEffects, TubeFlashesWhiteWhileLightZeroStartsAtItsHighest) {
    Paint(&FrogScene, 7, kRed);
    const Rgb white = {255, 255, 255};
    DrawFrame(DrawTube, 3000);
    ExpectColour(PixelAt(-3.5f, -2.5f, -3), white, "flash at 0 ms");
    EXPECT_NEAR(LightZeroHeight(), -1.952f, 0.001f);
    for (GLenum cap : {GL_LIGHT0, GL_LIGHT1, GL_LIGHTING, GL_COLOR_MATERIAL})
        EXPECT_FALSE(glIsEnabled(cap)) << "capability " << cap << " left on";
    ExpectTubeMaterial();

    DrawFrame(DrawTube, 3500);
    EXPECT_NEAR(PixelAt(-3.5f, -2.5f, -3).g, 128, 3) << "flash at 500 ms";
    DrawFrame(DrawTube, 3000 + 1571);
    EXPECT_NEAR(LightZeroHeight(), -8.106f, 0.001f) << "lowest after pi / 2 s";
    DrawFrame(DrawTube, 4000);
    ExpectColour(PixelAt(-3.5f, -2.5f, -3), kBlack, "no flash at 1000 ms");
    // The first caption borrows the frog scene's "t_01.tga"; it is in full from 4 s.
    DrawFrame(DrawTube, 3000 + 4000);
    Rgb caption = PixelAt(-1.3f, 1, -2);
    EXPECT_GE(caption.r, 250);
    EXPECT_LT(caption.g, 40) << "only the faint haze under the caption";
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

// With an empty course the feedback holds the haze (alpha 0.1), the captions and the flash.
TEST_F(SceneEffects, FogFlightFlashesAtTheStartAndFadesInItsCaptions) {
    std::vector<float> alphas = PolygonAlphas(DrawFogFlight, 700);
    EXPECT_GT(CountAlpha(alphas, 0), 0) << "the captions are invisible at the start";
    EXPECT_EQ(CountAlpha(alphas, 0) + CountAlpha(alphas, 0.1f) + CountAlpha(alphas, 1), (int)alphas.size());
    EXPECT_EQ(alphas.back(), 1) << "the flash at full strength";
    alphas = PolygonAlphas(DrawFogFlight, 700 + 1000);
    EXPECT_EQ(CountAlpha(alphas, 1), 0) << "no flash at 1000 ms";
    alphas = PolygonAlphas(DrawFogFlight, 700 + 4700);
    EXPECT_GT(CountAlpha(alphas, 0.5f), 0) << "half faded in at 4.7 s";
    EXPECT_EQ(CountAlpha(alphas, 0), 0);
}

TEST_F(SceneEffects, FogFlightFogsOnlyTheScene) {
    FogScene.meshCount = 1;
    MakeSquare(&FogScene.meshes[0], 600, -500);  // black, far into the fog
    const Rgb white = {255, 255, 255};
    DrawFrame(DrawFogFlight, 0);
    DrawFrame(DrawFogFlight, 2000);
    ExpectColour(PixelAt(0, 2.8f, -3), white, "the far scene is fogged white");
    EXPECT_NEAR(PixelAt(0, 0, -3).r, 255, 2) << "white under the haze too";
    for (GLenum cap : {GL_LIGHT0, GL_LIGHT1, GL_LIGHTING, GL_COLOR_MATERIAL, GL_FOG})
        EXPECT_FALSE(glIsEnabled(cap)) << "capability " << cap << " left on";
    GLfloat density = 0, colour[4];
    GLint mode = 0;
    glGetFloatv(GL_FOG_DENSITY, &density);
    glGetIntegerv(GL_FOG_MODE, &mode);
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_FLOAT_EQ(density, 0.012f);
    EXPECT_EQ(mode, GL_EXP2);
    EXPECT_EQ(colour[1], 1);
    // Whatever is drawn after the flight is not fogged: the same black square stays black.
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, FogScene.textures[0].textureId);
    DrawMesh(&FogScene.meshes[0], 0, 0, 0, 0, 0, 0);
    glDisable(GL_TEXTURE_2D);
    ExpectColour(PixelAt(0, 2.8f, -3), kBlack, "drawn after the flight");
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

// The fog flight sets no material of its own: drawn after the tube ride in one run, the specular
// colour and shininess the ride set are the ones that light the course.
TEST_F(SceneEffects, FogFlightAfterTheTubeKeepsItsMaterial) {
    const GLfloat noSpecular[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, noSpecular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
    DrawFrame(DrawFogFlight, 0);
    GLfloat specular[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    EXPECT_EQ(specular[0], 0) << "the fog flight alone sets no specular colour";

    for (int now = 20000; now <= 20100; now += 50) {
        DrawFrame(DrawTube, now);
        ExpectTubeMaterial();
        DrawFrame(DrawFogFlight, now + 25);
        ExpectTubeMaterial();
    }
}

// Every Mesh must name a loaded texture, since DrawScene binds one for each.
void ExpectDrawable(const Scene& scene, int meshesNeeded, const char* name) {
    EXPECT_GE(scene.meshCount, meshesNeeded) << name;
    EXPECT_GE(scene.cameraCount, 1) << name << " is flown along its camera path";
    for (int m = 0; m < scene.meshCount; ++m) {
        EXPECT_GE(scene.meshes[m].texture, 0) << name << " mesh " << m;
        EXPECT_LT(scene.meshes[m].texture, scene.textureCount) << name << " mesh " << m;
    }
    for (int slot = 0; slot < scene.textureCount; ++slot)
        EXPECT_NE(scene.textures[slot].textureId, 0u) << name << " slot " << slot;
}

TEST(SceneEffectLoaders, LoadFromThePackageAndUnloadTwice) {
    const std::string package = std::string(KAMORA_BUILD_DIR) + "/KaMora.ppk";
    if (!std::ifstream(package)) GTEST_SKIP() << "no KaMora.ppk in the build";
    ASSERT_TRUE(OpenTestGLContext());
    ASSERT_TRUE(InitUnpacker(nullptr, package.c_str(), 0, false));
    ASSERT_TRUE(LoadFrogCubes());
    ASSERT_TRUE(LoadTube());
    ASSERT_TRUE(LoadFogFlight());
    ExpectDrawable(FrogScene, kFrogMeshesNeeded, "frog.3DS");
    ExpectDrawable(TubeScene, 1, "tubo.3DS");
    ExpectDrawable(FogScene, kFogMeshesNeeded, "fr08.3DS");
    ASSERT_GE(CubeScene.meshCount, 1);
    // The overlay writes 256 x 256 pixels into the cube's texture; a smaller one would refuse them.
    EXPECT_GE(CubeScene.textures[0].width, 256u);
    EXPECT_GE(CubeScene.textures[0].height, 256u);
    for (int pass = 0; pass < 2; ++pass) {
        UnloadFrogCubes();
        UnloadTube();
        UnloadFogFlight();
    }
    for (Scene* scene : {&FrogScene, &CubeScene, &TubeScene, &FogScene}) {
        EXPECT_EQ(scene->meshes, nullptr);
        EXPECT_EQ(scene->textures, nullptr);
    }
}

}  // namespace
