#include "render/mesh_draw.h"

#include "gl_context.h"
#include "gl_probe.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cmath>
#include <memory>

namespace {

class MeshDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenTestGLContext());
        ResetTestGLState();
    }
};

GLint IntegerState(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void ExpectAdditiveState() {
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_EQ(IntegerState(GL_DEPTH_WRITEMASK), GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(IntegerState(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(IntegerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(IntegerState(GL_BLEND_DST), GL_ONE);
    EXPECT_EQ(IntegerState(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_EQ(IntegerState(GL_POINT_SMOOTH_HINT), GL_NICEST);
}

void ExpectClosedState() {
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(IntegerState(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(IntegerState(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(IntegerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(IntegerState(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(IntegerState(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    // Lighting and fog stay off: the Effects switch them on again themselves.
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

// The opposite of every entry of both presets, so each one must be set by the call.
void SetContraryState() {
    glEnable(GL_LIGHTING);
    glEnable(GL_FOG);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LESS);
    glBlendFunc(GL_ONE, GL_ZERO);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
}

TEST_F(MeshDraw, AdditivePresetsSetTheirNetState) {
    SetContraryState();
    BeginAdditiveBlend();
    ExpectAdditiveState();
    EndAdditiveBlend();
    ExpectClosedState();

    SetContraryState();
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    EndAdditiveBlend();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(IntegerState(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(IntegerState(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(IntegerState(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(IntegerState(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    // The closing preset leaves lighting and fog alone when they are on.
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_FOG));

    // In a row, twice: every pass ends in the same state.
    for (int pass = 0; pass < 2; ++pass) {
        BeginAdditiveBlend();
        ExpectAdditiveState();
        EndAdditiveBlend();
        ExpectClosedState();
    }
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

void ExpectMatrix(const std::vector<float>& actual, const float (&expected)[16]) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "element " << i;
}

using DrawRoutine = void (*)(const Mesh*, float, float, float, float, float, float);
const DrawRoutine kRoutines[] = {DrawMesh, DrawMeshWire, DrawMeshEnv};

TEST_F(MeshDraw, TransformStaysOnTheMatrix) {
    auto mesh = std::make_unique<Mesh>();
    mesh->faceCount = 0;
    const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // Translated by (1, 2, 3), then turned 90 degrees about x: y goes to z, z to -y.
    const float kMoved[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 1, 2, 3, 1};
    for (DrawRoutine draw : kRoutines) {
        glLoadIdentity();
        draw(mesh.get(), 0, 0, 0, 0, 0, 0);
        ExpectMatrix(ReadModelview(), kIdentity);
        glLoadIdentity();
        draw(mesh.get(), 1, 2, 3, 90, 0, 0);
        ExpectMatrix(ReadModelview(), kMoved);
        // Rotations apply about x, then y, then z in that nesting: x maps to y via -z.
        glLoadIdentity();
        draw(mesh.get(), 0, 0, 0, 90, 90, 0);
        std::vector<float> m = ReadModelview();
        EXPECT_NEAR(m[0], 0, 1e-5f);
        EXPECT_NEAR(m[1], 1, 1e-5f);
        EXPECT_NEAR(m[2], 0, 1e-5f);
    }
}

TEST_F(MeshDraw, EmptyMeshSendsNothing) {
    auto mesh = std::make_unique<Mesh>();
    mesh->faceCount = 0;
    for (DrawRoutine draw : kRoutines) {
        glLoadIdentity();
        auto primitives = CaptureFeedback([&] { draw(mesh.get(), 0, 0, 0, 0, 0, 0); });
        EXPECT_TRUE(primitives.empty());
        EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    }
    // A damaged count is held to the table.
    mesh->faceCount = -7;
    EXPECT_TRUE(CaptureFeedback([&] { DrawMesh(mesh.get(), 0, 0, 0, 0, 0, 0); }).empty());
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

// Two triangles inside the default view volume, with distinct mapping coordinates.
void FillTwoFaces(Mesh* mesh) {
    mesh->faceCount = 2;
    mesh->faces[0] = Face{3, {{-0.5f, -0.5f, 0, 0.1f, 0.2f}, {0.5f, -0.5f, 0, 0.3f, 0.4f}, {0, 0.5f, 0, 0.5f, 0.6f}}};
    mesh->faces[1] = Face{3, {{-0.25f, 0, 0.5f, 0.7f, 0.8f}, {0.25f, 0, 0.5f, 0.9f, 1.0f}, {0, 0.25f, 0, 0, 0}}};
}

// Window x of an object x on the 640-pixel test viewport with identity matrices.
float WindowX(float x) { return (x + 1) * 320; }
float WindowY(float y) { return (y + 1) * 240; }

TEST_F(MeshDraw, DrawMeshSendsEveryCornerWithItsMapping) {
    auto mesh = std::make_unique<Mesh>();
    FillTwoFaces(mesh.get());
    glColor4f(0.25f, 0.5f, 0.75f, 1);  // the caller's colour is left as it is
    auto primitives = CaptureFeedback([&] { DrawMesh(mesh.get(), 0, 0, 0, 0, 0, 0); });
    ASSERT_EQ(primitives.size(), 2u);
    for (int f = 0; f < 2; ++f) {
        ASSERT_EQ(primitives[f].token, GL_POLYGON_TOKEN);
        ASSERT_EQ(primitives[f].vertices.size(), 3u);
        for (int c = 0; c < 3; ++c) {
            const FaceVertex& in = mesh->faces[f].vertices[c];
            const FeedbackVertex& out = primitives[f].vertices[c];
            EXPECT_NEAR(out.x, WindowX(in.x), 0.01f);
            EXPECT_NEAR(out.y, WindowY(in.y), 0.01f);
            EXPECT_NEAR(out.s, in.u, 1e-5f);
            EXPECT_NEAR(out.t, in.v, 1e-5f);
            EXPECT_NEAR(out.r, 0.25f, 0.01f);
        }
    }
}

TEST_F(MeshDraw, WireSendsThreeEdgesPerFaceWithoutMapping) {
    auto mesh = std::make_unique<Mesh>();
    FillTwoFaces(mesh.get());
    glTexCoord2f(0.625f, 0.375f);
    auto primitives = CaptureFeedback([&] { DrawMeshWire(mesh.get(), 0, 0, 0, 0, 0, 0); });
    ASSERT_EQ(primitives.size(), 6u);
    const int kEdges[3][2] = {{0, 1}, {1, 2}, {2, 0}};
    for (int i = 0; i < 6; ++i) {
        const FeedbackPrimitive& line = primitives[i];
        EXPECT_TRUE(line.token == GL_LINE_TOKEN || line.token == GL_LINE_RESET_TOKEN);
        ASSERT_EQ(line.vertices.size(), 2u);
        for (int end = 0; end < 2; ++end) {
            const FaceVertex& in = mesh->faces[i / 3].vertices[kEdges[i % 3][end]];
            EXPECT_NEAR(line.vertices[end].x, WindowX(in.x), 0.01f);
            EXPECT_NEAR(line.vertices[end].y, WindowY(in.y), 0.01f);
            EXPECT_NEAR(line.vertices[end].s, 0.625f, 1e-5f);  // no mapping sent
        }
    }
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
}

TEST_F(MeshDraw, EnvSendsTheEnvNormalWithZNegated) {
    auto mesh = std::make_unique<Mesh>();
    mesh->faceCount = 1;
    // Corners relative to (0, 1, 0): (3, 4, 0) of length 5, (0, -1, 0.5) shorter than 1, and none.
    mesh->faces[0] = Face{3, {{3, 5, 0, 9, 9}, {0, 0, 0.5f, 9, 9}, {0, 1, 0, 9, 9}}};
    // The eye-space normal arrives as the generated texture coordinates.
    glMatrixMode(GL_PROJECTION);
    glOrtho(-10, 10, -10, 10, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    for (GLenum coord : {GL_S, GL_T, GL_R}) glTexGeni(coord, GL_TEXTURE_GEN_MODE, GL_NORMAL_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    MakeSolidTexture(1, 255, 255, 255);  // coordinates are generated only for a texturing unit
    glEnable(GL_TEXTURE_2D);
    auto primitives = CaptureFeedback([&] { DrawMeshEnv(mesh.get(), 0, 0, 0, 0, 0, 0); });
    ASSERT_EQ(primitives.size(), 1u);
    ASSERT_EQ(primitives[0].vertices.size(), 3u);
    const float kNormals[3][3] = {{0.8f, 0.6f, 0}, {-1, 0, -0.5f}, {0, 0, 0}};
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(primitives[0].vertices[c].s, kNormals[c][0], 1e-4f) << "corner " << c;
        EXPECT_NEAR(primitives[0].vertices[c].t, kNormals[c][1], 1e-4f) << "corner " << c;
        EXPECT_NEAR(primitives[0].vertices[c].p, kNormals[c][2], 1e-4f) << "corner " << c;
    }
}

void ExpectVec3(Vec3 v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-4f);
    EXPECT_NEAR(v.y, y, 1e-4f);
    EXPECT_NEAR(v.z, z, 1e-4f);
}

TEST(EnvNormal, DividesByTheTruncatedLengthAndExchangesXAndY) {
    ExpectVec3(EnvNormal(MakeVec3(0, 1, 0), MakeVec3(3, 5, 0)), 0.8f, 0.6f, 0);
    // q = 2.25 truncates to 2.
    ExpectVec3(EnvNormal(MakeVec3(0, 0, 0), MakeVec3(1.5f, 0, 0)), 0, 1.5f / std::sqrt(2.0f), 0);
    ExpectVec3(EnvNormal(MakeVec3(1, 1, 1), MakeVec3(2, 3, 3)), 2 / 3.0f, 1 / 3.0f, 2 / 3.0f);
    ExpectVec3(EnvNormal(MakeVec3(0, 0, 0), MakeVec3(0, 0, -1000)), 0, 0, -1);
}

TEST(EnvNormal, PointsCloserThanOneStayFinite) {
    ExpectVec3(EnvNormal(MakeVec3(2, 2, 2), MakeVec3(2, 2, 2)), 0, 0, 0);
    ExpectVec3(EnvNormal(MakeVec3(0, 0, 0), MakeVec3(0.5f, -0.25f, 0.5f)), -0.25f, 0.5f, 0.5f);
    // Continuous with the unit shell, where the length is 1 as well.
    Vec3 inside = EnvNormal(MakeVec3(0, 0, 0), MakeVec3(0.999f, 0, 0));
    Vec3 onShell = EnvNormal(MakeVec3(0, 0, 0), MakeVec3(1.0f, 0, 0));
    EXPECT_NEAR(inside.y, onShell.y, 0.002f);
    for (float tiny : {1e-30f, 1e-3f, 0.7f}) {
        Vec3 n = EnvNormal(MakeVec3(0, 0, 0), MakeVec3(tiny, tiny, tiny));
        EXPECT_TRUE(std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z)) << tiny;
    }
}

}  // namespace
