// The Scene's blocks and the B-spline expansion of camera keys.
#include "host/debug_log.h"
#include "scene/bspline.h"
#include "scene/scene.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

// Runs `action` and returns the DebugLog lines it wrote.
template <typename Action>
static std::string LogOf(Action action) {
    FILE* echo = tmpfile();
    SetDebugLogEcho(echo);
    action();
    SetDebugLogEcho(nullptr);
    std::string text(4096, 0);
    rewind(echo);
    text.resize(fread(&text[0], 1, text.size(), echo));
    fclose(echo);
    return text;
}

TEST(SceneModel, AllocationLogsTheSixBlocksAndUnloadFreesOnce) {
    Scene scene = {};
    std::string log = LogOf([&] { EXPECT_TRUE(AllocScene(&scene, 3, 1, 4)); });
    const long expected = (long)(3 * sizeof(Mesh) + 4 * sizeof(CameraTrack) + 4 * sizeof(Texture));
    EXPECT_EQ(log, " Allocated: " + std::to_string(expected) + " bytes\n");
    EXPECT_EQ(scene.startFrame, -1);
    scene.textureCount = 4;
    scene.textures[2].data = (uint8_t*)malloc(16);
    log = LogOf([&] {
        UnloadScene(&scene);
        UnloadScene(&scene);  // frees nothing the second time (ASan would see a double free)
    });
    EXPECT_EQ(log, " Unloading scene\n Unloading scene\n");
    EXPECT_EQ(scene.meshes, nullptr);
    EXPECT_EQ(scene.textures, nullptr);
    EXPECT_EQ(scene.textureCount, 4);
}

// UnloadScene frees the records that were allocated: a count raised after loading must not walk
// past the block (ASan sees that read), a count lowered must not leak (LeakSanitizer sees that).
TEST(SceneModel, UnloadFreesWhatWasAllocatedWhateverTheCountSaysNow) {
    for (int8_t later : {(int8_t)40, (int8_t)1}) {
        Scene scene = {};
        ASSERT_TRUE(AllocScene(&scene, 1, 0, 3));
        scene.textureCount = 3;
        for (int i = 0; i < 3; ++i) scene.textures[i].data = (uint8_t*)malloc(16);
        scene.textureCount = later;
        UnloadScene(&scene);
        EXPECT_EQ(scene.textures, nullptr);
        EXPECT_EQ(scene.textureCount, later);
    }
}

TEST(SceneModel, ZeroCountsAllocateEmptyBlocksAndNegativeCountsFail) {
    Scene scene = {};
    ASSERT_TRUE(AllocScene(&scene, 0, 0, 0));
    EXPECT_NE(scene.meshes, nullptr);
    EXPECT_NE(scene.textures, nullptr);
    UnloadScene(&scene);

    // A stale pointer left in the record is never freed by a failed allocation's release.
    scene.eyePath = (CameraTrack*)&scene;
    EXPECT_FALSE(AllocScene(&scene, -1, 1, 1));
    EXPECT_EQ(scene.meshCount, 0);
    EXPECT_EQ(scene.eyePath, nullptr);
    UnloadScene(&scene);
    EXPECT_FALSE(AllocScene(&scene, 2, 1, -3));
    EXPECT_NE(scene.eyePath, nullptr);
    UnloadScene(&scene);
}

static CameraTrack* Track(std::initializer_list<Vec3> points) {
    static CameraTrack track;
    track.count = 0;
    for (const Vec3& p : points) track.points[track.count++] = p;
    return &track;
}

TEST(BSpline, PointsLieAtTwiceTheCurve) {
    static CameraTrack path;
    std::string log = LogOf([&] { EXPECT_TRUE(ExpandBSpline(Track({{0, 0, 0}, {6, 0, 0}, {12, 0, 0}, {18, 0, 0}}), &path, 300)); });
    EXPECT_EQ(log, "  SPL: Keys generated: 301\n");
    ASSERT_EQ(path.count, 301);
    EXPECT_FLOAT_EQ(path.points[0].x, 12);
    EXPECT_FLOAT_EQ(path.points[150].x, 18);
    EXPECT_NEAR(path.points[300].x, 24, 1e-3);  // t just below 1

    const Vec3 p = {1.5f, -2, 7};
    EXPECT_TRUE(ExpandBSpline(Track({p, p, p, p}), &path, 300));
    for (int i = 0; i < path.count; i += 37) {
        EXPECT_FLOAT_EQ(path.points[i].x * 0.5f, p.x);
        EXPECT_FLOAT_EQ(path.points[i].y * 0.5f, p.y);
        EXPECT_FLOAT_EQ(path.points[i].z * 0.5f, p.z);
    }
}

TEST(BSpline, ThreeKeysGiveNoPointsAndThe10000thPointFails) {
    static CameraTrack path;
    path.count = 123;
    EXPECT_TRUE(ExpandBSpline(Track({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}), &path, 300));
    EXPECT_EQ(path.count, 0);

    static CameraTrack keys;
    keys.count = 37;
    for (int i = 0; i < 37; ++i) keys.points[i] = {(float)i, 0, 0};
    path.count = 5;
    testing::internal::CaptureStderr();
    std::string log = LogOf([&] { EXPECT_FALSE(ExpandBSpline(&keys, &path, 300)); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "msgbox: B-Spline Error: Index overflow!\n");
    EXPECT_EQ(log, "");
    EXPECT_EQ(path.count, 5);  // not written
    keys.count = 36;
    EXPECT_TRUE(ExpandBSpline(&keys, &path, 300));
    EXPECT_EQ(path.count, 9933);
}
