#include "render/scene_draw.h"

#include "gl_context.h"
#include "gl_probe.h"
#include "render/mesh_draw.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

namespace {

// A Scene built by hand: one camera whose eye path point i is (400, 2i, 0) and target path point
// j is (0, 0, 2j), so the halved eye is (200, i, 0) and the halved target (0, 0, j).
class SceneDraw : public ::testing::Test {
protected:
    Scene scene{};

    void SetUp() override {
        ASSERT_TRUE(OpenTestGLContext());
        ResetTestGLState();
    }
    void TearDown() override { UnloadScene(&scene); }

    void Build(int meshCount, int eyeCount, int targetCount, int textureCount = 0) {
        scene.textureCount = (int8_t)textureCount;
        ASSERT_TRUE(AllocScene(&scene, meshCount, 1, textureCount));
        scene.meshCount = meshCount;
        scene.cameraCount = 1;
        scene.startFrame = -1;
        for (int m = 0; m < meshCount; ++m) {
            Mesh& mesh = scene.meshes[m];
            mesh.faceCount = 0;
            mesh.texture = -1;
            mesh.cullFace = mesh.additive = mesh.faded = mesh.envMap = 0;
            mesh.visible = 1;
            mesh.alpha = 1;
        }
        scene.eyePath[0].count = eyeCount;
        for (int i = 0; i < eyeCount; ++i) scene.eyePath[0].points[i] = MakeVec3(400, 2.0f * i, 0);
        scene.targetPath[0].count = targetCount;
        for (int j = 0; j < targetCount; ++j) scene.targetPath[0].points[j] = MakeVec3(0, 0, 2.0f * j);
    }

    // Draws with the look-at left on an identity matrix and returns that matrix.
    std::vector<float> DrawAndReadCamera(int frame) {
        glLoadIdentity();
        DrawScene(frame, &scene, false);
        return ReadModelview();
    }
};

std::vector<float> LookAtMatrix(Vec3 eye, Vec3 target) {
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, 0, 1, 45);
    std::vector<float> m = ReadModelview();
    glPopMatrix();
    return m;
}

void ExpectSameMatrix(const std::vector<float>& actual, const std::vector<float>& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-3f) << "element " << i;
}

// The camera looks from halved eye point ie toward halved target point it.
void ExpectCamera(const std::vector<float>& matrix, int ie, int it) {
    EXPECT_FLOAT_EQ(CameraEye.y, (float)ie);
    ExpectSameMatrix(matrix, LookAtMatrix(MakeVec3(200, (float)ie, 0), MakeVec3(0, 0, (float)it)));
}

TEST_F(SceneDraw, FirstCallLatchesTheStartFrame) {
    Build(0, 100, 100);
    ExpectCamera(DrawAndReadCamera(500), 0, 0);
    EXPECT_EQ(scene.startFrame, 500);
    ExpectCamera(DrawAndReadCamera(480), 0, 0);  // an earlier frame holds the first point
    ExpectCamera(DrawAndReadCamera(510), 10, 10);
    EXPECT_EQ(scene.startFrame, 500);
}

TEST_F(SceneDraw, PathsHoldTheirLastPointAndClampSeparately) {
    Build(0, 2107, 2107);
    DrawAndReadCamera(1000);
    ExpectCamera(DrawAndReadCamera(1000 + 2106), 2106, 2106);
    ExpectCamera(DrawAndReadCamera(1000 + 2107), 2106, 2106);
    ExpectCamera(DrawAndReadCamera(1000 + 9000), 2106, 2106);
    // The eye stops after 10 points while the target keeps moving, and the other way round.
    scene.eyePath[0].count = 10;
    ExpectCamera(DrawAndReadCamera(1000 + 50), 9, 50);
    scene.eyePath[0].count = 2107;
    scene.targetPath[0].count = 7;
    ExpectCamera(DrawAndReadCamera(1000 + 50), 50, 6);
}

TEST_F(SceneDraw, OwnMatrixDecidesWhetherTheLookAtStays) {
    Build(0, 5, 5);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glRotatef(30, 0, 1, 0);
    std::vector<float> before = ReadModelview();
    DrawScene(0, &scene, true);
    ExpectSameMatrix(ReadModelview(), before);
    DrawScene(0, &scene, false);
    glPushMatrix();
    glLoadMatrixf(before.data());
    gluLookAt(200, 0, 0, 0, 0, 0, 0, 1, 45);
    std::vector<float> expected = ReadModelview();
    glPopMatrix();
    ExpectSameMatrix(ReadModelview(), expected);
}

TEST_F(SceneDraw, CameraEyeIsTheHalvedEyePoint) {
    Build(0, 1, 1);
    scene.eyePath[0].points[0] = MakeVec3(2, 4, 6);
    scene.targetPath[0].points[0] = MakeVec3(0, 0, 0);
    DrawScene(3, &scene, true);
    EXPECT_FLOAT_EQ(CameraEye.x, 1);
    EXPECT_FLOAT_EQ(CameraEye.y, 2);
    EXPECT_FLOAT_EQ(CameraEye.z, 3);
}

// The projection the show uses; the camera sits at (200, 0, 0) looking at the origin.
void SetShowProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90, 640.0 / 480.0, 1, 4000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// A Mesh of one triangle in front of the camera (about the path's look-at point).
void FillTriangle(Mesh* mesh) {
    mesh->faceCount = 1;
    mesh->faces[0] = Face{3, {{0, -20, -20, 0, 0}, {0, 20, -20, 1, 0}, {0, 0, 20, 0, 1}}};
}

TEST_F(SceneDraw, WithoutACameraPathTheMeshesDrawFromTheCallersMatrix) {
    Build(1, 0, 0);
    FillTriangle(&scene.meshes[0]);
    CameraEye = MakeVec3(7, 7, 7);
    glLoadIdentity();
    glScalef(0.01f, 0.01f, 0.01f);
    glRotatef(90, 0, 1, 0);  // the triangle faces the untouched view
    std::vector<float> before = ReadModelview();
    auto primitives = CaptureFeedback([&] { DrawScene(40, &scene, false); });
    EXPECT_EQ(primitives.size(), 1u);
    ExpectSameMatrix(ReadModelview(), before);
    EXPECT_FLOAT_EQ(CameraEye.x, 0);
    EXPECT_EQ(scene.startFrame, 40);

    // No camera at all, and a camera number out of range either way.
    scene.cameraCount = 0;
    scene.currentCamera = 3;
    EXPECT_EQ(CaptureFeedback([&] { DrawScene(41, &scene, true); }).size(), 1u);
    EXPECT_EQ(scene.currentCamera, 0);
    scene.cameraCount = 1;
    scene.eyePath[0].count = scene.targetPath[0].count = 1;
    scene.eyePath[0].points[0] = MakeVec3(400, 0, 0);
    scene.targetPath[0].points[0] = MakeVec3(0, 0, 0);
    scene.currentCamera = -2;
    DrawScene(41, &scene, true);
    EXPECT_EQ(scene.currentCamera, 0);
    EXPECT_FLOAT_EQ(CameraEye.x, 200);
}

void ExpectFlagsLeft() {
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint depthWrites = 0;
    glGetIntegerv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 1);
}

GLint BoundTexture() {
    GLint name = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name;
}

TEST_F(SceneDraw, InvisibleMeshBindsItsTextureAndEntersItsFlags) {
    Build(1, 1, 1, 2);
    FillTriangle(&scene.meshes[0]);
    scene.textures[1].textureId = MakeSolidTexture(1, 255, 255, 255);
    Mesh& mesh = scene.meshes[0];
    mesh.visible = 0;
    mesh.texture = 1;
    mesh.faded = mesh.cullFace = mesh.additive = mesh.envMap = 1;
    mesh.alpha = 0.5f;
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_LIGHTING);
    glEnable(GL_FOG);
    EXPECT_TRUE(CaptureFeedback([&] { DrawScene(0, &scene, true); }).empty());
    EXPECT_EQ(BoundTexture(), (GLint)scene.textures[1].textureId);
    // The closing preset ran: lighting and fog are off for whatever follows.
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    ExpectFlagsLeft();
}

TEST_F(SceneDraw, TextureNumberOutsideTheTableDrawsUntextured) {
    Build(1, 1, 1, 2);
    FillTriangle(&scene.meshes[0]);
    GLuint white = MakeSolidTexture(1, 255, 255, 255);
    scene.textures[0].textureId = scene.textures[1].textureId = white;
    SetShowProjection();
    for (int8_t number : {(int8_t)2, (int8_t)-1, (int8_t)127, (int8_t)-128}) {
        scene.meshes[0].texture = number;
        glBindTexture(GL_TEXTURE_2D, white);
        EXPECT_EQ(CaptureFeedback([&] { DrawScene(0, &scene, true); }).size(), 1u);
        EXPECT_EQ(BoundTexture(), 0) << (int)number;
    }
    scene.textureCount = 0;  // a Scene without texture records
    scene.meshes[0].texture = 0;
    DrawScene(0, &scene, true);
    EXPECT_EQ(BoundTexture(), 0);
}

TEST_F(SceneDraw, FadedMeshesAddOntoTheFrame) {
    Build(3, 1, 1, 1);
    scene.textures[0].textureId = MakeSolidTexture(1, 255, 255, 255);
    for (int m = 0; m < 3; ++m) {
        FillTriangle(&scene.meshes[m]);
        scene.meshes[m].texture = 0;
    }
    // A half-faded Mesh, then the same triangle faded again: the two add up to full white.
    scene.meshes[0].faded = 1;
    scene.meshes[0].alpha = 0.5f;
    scene.meshes[1].faded = 1;
    scene.meshes[1].alpha = 0.5f;
    scene.meshes[2].visible = 0;
    SetShowProjection();
    glEnable(GL_DEPTH_TEST);
    DrawScene(0, &scene, true);
    unsigned char pixel[4];
    ReadTestPixel(320, 240, pixel);
    EXPECT_NEAR(pixel[0], 255, 3);
    // One faded Mesh alone gives half strength.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.meshes[1].faded = 0;
    scene.meshes[1].visible = 0;
    DrawScene(0, &scene, true);
    ReadTestPixel(320, 240, pixel);
    EXPECT_NEAR(pixel[0], 128, 3);
    ExpectFlagsLeft();
}

}  // namespace
