// LoadScene on well-formed files made by the test writer.
#include "scene/scene_loader.h"

#include "scene_test_support.h"
#include "scene_writer.h"

#include <cstring>
#include <gtest/gtest.h>

class SceneLoaderTest : public ::testing::Test {
protected:
    void TearDown() override { UnloadScene(&scene); }
    Scene scene = {};
};

static TestScene ThreeMeshesAndCamera(int eyeKeys, int targetKeys) {
    TestScene s;
    s.meshes = {MakeStripMesh("box", 2, 1), MakeStripMesh("wall", 5, 2), MakeStripMesh("floor", 7, 3)};
    s.cameras = {{"cam", MakeKeys(eyeKeys, 1), MakeKeys(targetKeys, 2)}};
    return s;
}

static void ExpectMeshMatches(const Mesh& mesh, const TestMesh& source) {
    ASSERT_EQ(mesh.faceCount, (int)source.faces.size());
    for (int f = 0; f < mesh.faceCount; ++f) {
        ASSERT_EQ(mesh.faces[f].vertexCount, 3);
        for (int c = 0; c < 3; ++c) {
            const FaceVertex& v = mesh.faces[f].vertices[c];
            const int index = source.faces[f][c];
            EXPECT_EQ(v.x, source.vertices[index].x);
            EXPECT_EQ(v.y, source.vertices[index].y);
            EXPECT_EQ(v.z, source.vertices[index].z);
            EXPECT_EQ(v.u, source.uvs[index][0]);
            EXPECT_EQ(v.v, source.uvs[index][1]);
        }
    }
}

TEST_F(SceneLoaderTest, MeshesThenCameraGiveMeshesKeysPathsAndTheLog) {
    TestScene source = ThreeMeshesAndCamera(10, 12);
    LoadReport r = LoadAndReport(SaveTestFile("three.3ds", BuildScene(source)), &scene);
    ASSERT_TRUE(r.loaded) << r.log << r.boxes;
    EXPECT_EQ(r.boxes, "");
    ASSERT_EQ(scene.meshCount, 3);
    for (int m = 0; m < 3; ++m) {
        ExpectMeshMatches(scene.meshes[m], source.meshes[m]);
        const Mesh& mesh = scene.meshes[m];
        EXPECT_EQ(mesh.visible, 1);
        EXPECT_EQ(mesh.alpha, 1.0f);
        EXPECT_EQ(mesh.faded + mesh.cullFace + mesh.additive + mesh.envMap, 0);
        EXPECT_EQ(mesh.texture, kNoTexture);  // defined before any Effect sets it
    }
    EXPECT_EQ(scene.startFrame, -1);
    ASSERT_EQ(scene.cameraCount, 1);
    EXPECT_EQ(scene.currentCamera, 0);
    ASSERT_EQ(scene.eyeKeys[0].count, 10);
    ASSERT_EQ(scene.targetKeys[0].count, 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(scene.targetKeys[0].points[i].x, source.cameras[0].targetKeys[i].x);
    EXPECT_EQ(scene.eyeKeys[0].points[9].y, source.cameras[0].eyeKeys[9].y);
    EXPECT_EQ(scene.eyePath[0].count, 2107);
    EXPECT_EQ(scene.targetPath[0].count, 2709);
    // The path starts at twice the curve's start, (P0 + 4 P1 + P2) / 3.
    const auto& k = source.cameras[0].eyeKeys;
    EXPECT_NEAR(scene.eyePath[0].points[0].x, (k[0].x + 4 * k[1].x + k[2].x) / 3, 1e-3);

    EXPECT_TRUE(Contains(r.log, " 3DS: Loading scene: ")) << r.log;
    EXPECT_TRUE(Contains(r.log, "\n Objects: 3\n Total cameras: 1\n")) << r.log;
    EXPECT_TRUE(Contains(r.log, "  [Camera 0]: Indexes: Position at 3 Target at 4\n  Target keys: 12 Position keys: 10\n"));
    EXPECT_TRUE(Contains(r.log, "  WARNING: Position and target key's not identical for camera 0. Animation can fail!\n"
                                "  Calculating splines for cam 0\n  SPL: Keys generated: 2107\n  SPL: Keys generated: 2709\n"))
        << r.log;
}

TEST_F(SceneLoaderTest, WithoutCameraTheLastMeshIsDropped) {
    TestScene source = ThreeMeshesAndCamera(4, 4);
    source.cameras.clear();
    LoadReport r = LoadAndReport(SaveTestFile("nocam.3ds", BuildScene(source)), &scene);
    ASSERT_TRUE(r.loaded) << r.log;
    EXPECT_EQ(scene.meshCount, 2);
    EXPECT_EQ(scene.cameraCount, 0);
    ExpectMeshMatches(scene.meshes[1], source.meshes[1]);
}

TEST_F(SceneLoaderTest, FloatColourBeforeTheMeshesTakesObjectNumberZero) {
    TestScene source = ThreeMeshesAndCamera(4, 4);
    source.ambientFloat = true;
    LoadReport r = LoadAndReport(SaveTestFile("ambient.3ds", BuildScene(source)), &scene);
    ASSERT_TRUE(r.loaded) << r.log;
    ASSERT_EQ(scene.meshCount, 4);
    EXPECT_EQ(scene.meshes[0].faceCount, 0);
    ExpectMeshMatches(scene.meshes[1], source.meshes[0]);
    ExpectMeshMatches(scene.meshes[3], source.meshes[2]);
    EXPECT_TRUE(Contains(r.log, "Position at 4 Target at 5")) << r.log;
    EXPECT_EQ(scene.eyePath[0].count, 301);
}

TEST_F(SceneLoaderTest, FifteenHundredFacesLoadAndOneMoreOverflows) {
    TestScene source;
    source.meshes = {MakeStripMesh("big", 1500, 1), MakeStripMesh("end", 1, 2)};
    LoadReport r = LoadAndReport(SaveTestFile("1500.3ds", BuildScene(source)), &scene);
    ASSERT_TRUE(r.loaded) << r.boxes;
    ExpectMeshMatches(scene.meshes[0], source.meshes[0]);
    UnloadScene(&scene);

    source.meshes[0] = MakeStripMesh("big", 1501, 1);
    r = LoadAndReport(SaveTestFile("1501.3ds", BuildScene(source)), &scene);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.boxes, "msgbox: 3ds Loader:  Internal overflow at object 0\\n Max faces = 1500\n");
    // The overflowing object gets no slot: "end" becomes object 0, the last one, not copied.
    EXPECT_EQ(scene.meshCount, 0);
    EXPECT_NE(scene.meshes, nullptr);  // still loaded, released by UnloadScene
}

// Key counts around the spline's limits: no segment, one segment, the most that fit, one too many.
TEST_F(SceneLoaderTest, KeyCountsSetThePathLengthAndTooManyFailTheLoad) {
    const struct {
        int keys, points;
    } cases[] = {{3, 0}, {4, 301}, {36, 9933}};
    for (const auto& c : cases) {
        LoadReport r = LoadAndReport(SaveTestFile("keys.3ds", BuildScene(ThreeMeshesAndCamera(c.keys, c.keys))), &scene);
        ASSERT_TRUE(r.loaded) << c.keys << r.boxes;
        EXPECT_EQ(scene.eyePath[0].count, c.points);
        EXPECT_EQ(scene.targetPath[0].count, c.points);
        EXPECT_TRUE(Contains(r.log, "  SPL: Keys generated: " + std::to_string(c.points) + "\n"));
        EXPECT_FALSE(Contains(r.log, "WARNING"));
        UnloadScene(&scene);
    }
    LoadReport r = LoadAndReport(SaveTestFile("keys37.3ds", BuildScene(ThreeMeshesAndCamera(37, 37))), &scene);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.boxes, "msgbox: B-Spline Error: Index overflow!\n"
                       "msgbox: 3DS Loader: Error generating spline for scene!\\nOverflow\n");
    EXPECT_TRUE(Contains(r.log, "  Calculating splines for cam 0\n Unloading scene\n")) << r.log;
    EXPECT_EQ(scene.meshes, nullptr);
    EXPECT_EQ(scene.eyePath, nullptr);
}

TEST_F(SceneLoaderTest, NonZeroSplineFlagsAreReadAsZero) {
    TestScene source = ThreeMeshesAndCamera(5, 5);
    source.cameras[0].keyFlags = 0x001F;  // tension, continuity, bias, ease to and from
    ASSERT_TRUE(LoadAndReport(SaveTestFile("flags.3ds", BuildScene(source)), &scene).loaded);
    ASSERT_EQ(scene.eyeKeys[0].count, 5);
    EXPECT_EQ(scene.eyeKeys[0].points[4].x, source.cameras[0].eyeKeys[4].x);
    EXPECT_EQ(scene.targetKeys[0].points[4].z, source.cameras[0].targetKeys[4].z);
}

static bool SameTrack(const CameraTrack& x, const CameraTrack& y) {
    return x.count == y.count && memcmp(x.points, y.points, x.count * sizeof(Vec3)) == 0;
}

static bool SameScene(const Scene& a, const Scene& b) {
    if (a.meshCount != b.meshCount || a.cameraCount != b.cameraCount) return false;
    for (int m = 0; m < a.meshCount; ++m)
        if (a.meshes[m].faceCount != b.meshes[m].faceCount ||
            memcmp(a.meshes[m].faces, b.meshes[m].faces, a.meshes[m].faceCount * sizeof(Face)) != 0)
            return false;
    for (CameraTrack* Scene::*tracks : {&Scene::eyeKeys, &Scene::targetKeys, &Scene::eyePath, &Scene::targetPath})
        for (int k = 0; k < a.cameraCount; ++k)
            if (!SameTrack((a.*tracks)[k], (b.*tracks)[k])) return false;
    return true;
}

TEST_F(SceneLoaderTest, LoadingTwiceGivesIdenticalScenesAndNothingStaleCarriesOver) {
    const std::string path = SaveTestFile("twice.3ds", BuildScene(ThreeMeshesAndCamera(6, 6)));
    ASSERT_TRUE(LoadAndReport(path, &scene).loaded);
    Scene second = {};
    ASSERT_TRUE(LoadAndReport(path, &second).loaded);
    EXPECT_TRUE(SameScene(scene, second));
    UnloadScene(&second);

    // A file with a camera but no keyframer section gets no keys of the previous file.
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    WriteMeshObject(w, MakeStripMesh("solo", 3, 4));
    WriteCameraObject(w, "cam");
    w.End();
    w.End();
    ASSERT_TRUE(LoadAndReport(SaveTestFile("nokeys.3ds", w.bytes), &second).loaded);
    ASSERT_EQ(second.cameraCount, 1);
    EXPECT_EQ(second.eyeKeys[0].count, 0);
    EXPECT_EQ(second.targetKeys[0].count, 0);
    EXPECT_EQ(second.eyePath[0].count, 0);
    UnloadScene(&second);
}

TEST_F(SceneLoaderTest, MissingFileAndEmptyFileFailWithTheirBoxes) {
    LoadReport r = LoadAndReport("/nonexistent/none.3ds", &scene);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.boxes, "msgbox: 3DS Loader Error:  3DS Error: Unable to open /nonexistent/none.3ds !\\n\n");
    EXPECT_TRUE(Contains(r.log, " 3DS Error: Unable to open /nonexistent/none.3ds !\n\n"));

    // No objects: a mesh count of -1 cannot be allocated.
    r = LoadAndReport(SaveTestFile("empty.3ds", ""), &scene);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.boxes, "msgbox: 3DS Loader: No memory for scene!\n");
    EXPECT_TRUE(Contains(r.log, " 3DS Error: No memory for scene!\n"));
}
