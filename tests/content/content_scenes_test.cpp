// The generated scenes meet what the show's Effects ask of them: mesh counts, one camera as
// the last object, key tracks long enough for each Effect's slot, and cameras framed for
// what each Effect draws around them.
#include "scene_file_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

static std::string EntryPath(const std::string& name) { return std::string(KAMORA_BUILD_DIR) + "/content/entries/" + name; }

struct SceneRule {
    const char* name;
    int minMeshes, maxMeshes;
    int minKeys;  // enough key intervals (301 frames each) for the Effect's slot; 0: never flown
};

static const SceneRule kScenes[] = {
    {"scn1.3ds", 6, 6, 14},      {"flipe01.3DS", 1, 150, 11}, {"flipe_env.3ds", 7, 150, 9},
    {"frog.3DS", 11, 11, 16},    {"cube.3DS", 1, 150, 0},     {"tubo.3DS", 2, 150, 23},
    {"fr08.3DS", 24, 24, 16},    {"oldcube.3ds", 1, 150, 0},  {"castle.3DS", 1, 150, 15},
    {"sphere.3ds", 1, 150, 0},   {"planes.3DS", 1, 1, 27},
};

static std::vector<KeyPoint> Track(const SceneFile& scene, int node) {
    return node < (int)scene.tracks.size() ? scene.tracks[node] : std::vector<KeyPoint>();
}

TEST(ContentScenes, EveryScenePassesTheLoadersRules) {
    for (const SceneRule& rule : kScenes) {
        SCOPED_TRACE(rule.name);
        SceneFile scene = ReadSceneFile(EntryPath(rule.name));
        ASSERT_TRUE(scene.readable);
        EXPECT_EQ(scene.rgbFloatChunks, 0);
        ASSERT_EQ(scene.cameraObjects.size(), 1u);
        int meshCount = (int)scene.meshes.size();
        EXPECT_EQ(scene.cameraObjects[0], meshCount) << "the camera must be the last object";
        EXPECT_EQ(scene.objectCount, meshCount + 1);
        EXPECT_GE(meshCount, rule.minMeshes);
        EXPECT_LE(meshCount, rule.maxMeshes);
        for (const ReadMesh& mesh : scene.meshes) {
            EXPECT_GT(mesh.faceCount, 0);
            EXPECT_LE(mesh.faceCount, 1500);
            EXPECT_LE(mesh.vertexCount, 50000);
            EXPECT_EQ(mesh.mappingCount, mesh.vertexCount) << "mapping list must precede the face list";
            EXPECT_LT(mesh.largestIndex, mesh.vertexCount);
        }
        std::vector<KeyPoint> eye = Track(scene, meshCount), target = Track(scene, meshCount + 1);
        EXPECT_EQ(eye.size(), target.size());
        EXPECT_GE((int)eye.size(), rule.minKeys < 4 ? 4 : rule.minKeys);
        EXPECT_LE(eye.size(), 36u) << "37 keys overflow the camera path";
        for (const KeyPoint& p : eye) EXPECT_TRUE(std::isfinite(p.x + p.y + p.z));
    }
}

struct CameraPath {
    std::vector<KeyPoint> eye, target;
};

static CameraPath FlownPath(const std::string& name, SceneFile* sceneOut = nullptr) {
    SceneFile scene = ReadSceneFile(EntryPath(name));
    int camera = (int)scene.meshes.size();
    CameraPath path = {ExpandCameraPath(Track(scene, camera)), ExpandCameraPath(Track(scene, camera + 1))};
    if (sceneOut) *sceneOut = scene;
    return path;
}

static float Distance(KeyPoint a, KeyPoint b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

TEST(ContentScenes, OpeningCameraCirclesOutsideTheFlareRing) {
    CameraPath path = FlownPath("scn1.3ds");
    ASSERT_FALSE(path.eye.empty());
    for (const KeyPoint& p : path.eye) {
        float across = std::hypot(p.x + 28, p.y);
        EXPECT_GT(across, 130.0f);  // the ring reaches 120 units out
        EXPECT_LT(Distance(p, {-28, 0, 0}), 400.0f);
    }
}

TEST(ContentScenes, ChromeSceneIsKilometreSized) {
    CameraPath path = FlownPath("flipe_env.3ds");
    ASSERT_FALSE(path.eye.empty());
    for (const KeyPoint& p : path.eye) {
        float d = Distance(p, {0, 0, 0});
        EXPECT_GT(d, 600.0f);
        EXPECT_LT(d, 2200.0f);
    }
}

TEST(ContentScenes, PictureGridCameraLooksDownAtASlant) {
    CameraPath path = FlownPath("planes.3DS");
    ASSERT_EQ(path.eye.size(), path.target.size());
    for (size_t i = 0; i < path.eye.size(); i += 50) {
        KeyPoint e = path.eye[i], t = path.target[i];
        float d = Distance(e, t), down = (e.z - t.z) / d;
        EXPECT_GT(down, 0.15f);  // looking down at the grid
        EXPECT_LT(down, 0.9f);   // never straight down: the view's up is close to +z
        EXPECT_LT(Distance(e, {-4, -4, 0}), 700.0f);
    }
}

TEST(ContentScenes, TubeRideStaysInsideTheTube) {
    SceneFile scene;
    CameraPath path = FlownPath("tubo.3DS", &scene);
    ASSERT_FALSE(path.eye.empty());
    const std::vector<KeyPoint>& wall = scene.meshes[0].vertices;
    for (size_t i = 0; i < path.eye.size(); i += 97) {
        float nearest = 1e9f;
        for (const KeyPoint& v : wall) nearest = std::fmin(nearest, Distance(path.eye[i], v));
        EXPECT_GT(nearest, 12.0f) << "point " << i;  // off the wall
        EXPECT_LT(nearest, 70.0f) << "point " << i;  // and not outside the tube
    }
}

TEST(ContentScenes, FogFlightKeepsBetweenFloorAndSky) {
    CameraPath path = FlownPath("fr08.3DS");
    ASSERT_FALSE(path.eye.empty());
    for (const KeyPoint& p : path.eye) {
        EXPECT_GT(p.z, 15.0f);
        EXPECT_LT(p.z, 60.0f);  // the gates' bars sit at 6-13 and 64-72
    }
}

TEST(ContentScenes, FrogCameraStaysAboveThePondAndInsideTheSky) {
    CameraPath path = FlownPath("frog.3DS");
    ASSERT_FALSE(path.eye.empty());
    for (const KeyPoint& p : path.eye) {
        EXPECT_GT(p.z, 10.0f);
        EXPECT_GT(Distance(p, {5, 0, 20}), 70.0f);  // off the frog
        EXPECT_LT(Distance(p, {0, 0, 0}), 1000.0f);
    }
}

// Under the frog scene's grey every cube face saturates to white: the cube must be open, its
// faces all on slim beams along its edges, so that a turning cube keeps its outline.
TEST(ContentScenes, CubeIsAFrameOfSlimBeams) {
    SceneFile scene = ReadSceneFile(EntryPath("cube.3DS"));
    ASSERT_FALSE(scene.meshes.empty());
    const ReadMesh& cube = scene.meshes[0];
    float half = 0;
    for (const KeyPoint& v : cube.vertices) half = std::fmax(half, std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z))));
    ASSERT_GT(half, 0.0f);
    ASSERT_EQ(cube.corners.size() % 3, 0u);
    for (size_t f = 0; f < cube.corners.size(); f += 3) {
        const KeyPoint &a = cube.vertices[cube.corners[f]], &b = cube.vertices[cube.corners[f + 1]],
                       &c = cube.vertices[cube.corners[f + 2]];
        float centre[3] = {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
        int nearEdge = 0;
        for (float v : centre) nearEdge += std::fabs(v) > 0.75f * half;
        EXPECT_GE(nearEdge, 2) << "face " << f / 3 << " spans the cube's side";
    }
}

static KeyPoint Minus(KeyPoint a, KeyPoint b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
static KeyPoint Cross(KeyPoint a, KeyPoint b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
static float Dot(KeyPoint a, KeyPoint b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Distance along the ray from `from` in the unit direction `d` to the nearest face of the scene;
// -1 when it hits none.
static float NearestHit(const SceneFile& scene, KeyPoint from, KeyPoint d) {
    float nearest = -1;
    for (const ReadMesh& mesh : scene.meshes) {
        for (size_t f = 0; f + 2 < mesh.corners.size(); f += 3) {
            KeyPoint a = mesh.vertices[mesh.corners[f]];
            KeyPoint e1 = Minus(mesh.vertices[mesh.corners[f + 1]], a), e2 = Minus(mesh.vertices[mesh.corners[f + 2]], a);
            KeyPoint p = Cross(d, e2);
            float det = Dot(e1, p);
            if (std::fabs(det) < 1e-6f) continue;
            KeyPoint s = Minus(from, a), q = Cross(s, e1);
            float u = Dot(s, p) / det, v = Dot(d, q) / det, t = Dot(e2, q) / det;
            if (u < 0 || v < 0 || u + v > 1 || t <= 0) continue;
            if (nearest < 0 || t < nearest) nearest = t;
        }
    }
    return nearest;
}

// The first two Effects' scenes close over their cameras: looking up at 30 degrees in any
// direction from anywhere on the path, the view meets the scene inside the far plane (4,000).
TEST(ContentScenes, OpeningScenesHaveASkyAllRound) {
    for (const char* name : {"scn1.3ds", "flipe_env.3ds"}) {
        SCOPED_TRACE(name);
        SceneFile scene;
        CameraPath path = FlownPath(name, &scene);
        ASSERT_FALSE(path.eye.empty());
        for (size_t i = 0; i < path.eye.size(); i += std::max<size_t>(1, path.eye.size() / 8)) {
            for (int k = 0; k < 12; k++) {
                float a = k * 3.14159265f / 6;
                KeyPoint up = {0.866f * std::cos(a), 0.866f * std::sin(a), 0.5f};
                float hit = NearestHit(scene, path.eye[i], up);
                EXPECT_GT(hit, 0.0f) << "point " << i << ", bearing " << k * 30;
                EXPECT_LT(hit, 3900.0f) << "point " << i << ", bearing " << k * 30;
            }
        }
    }
}
