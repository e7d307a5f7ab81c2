// The generated entries read through the show's own loaders: every scene through LoadScene,
// every picture through LoadTGATexture.
#include "gfx/tga.h"
#include "gl_context.h"
#include "scene/scene_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

static std::string EntryPath(const std::string& name) { return std::string(KAMORA_BUILD_DIR) + "/content/entries/" + name; }

struct LoadRule {
    const char* name;
    int minMeshes, maxMeshes, minKeys;
};

// The mesh counts the Effects rely on, and the keys each flown camera needs for its slot.
static const LoadRule kRules[] = {
    {"scn1.3ds", 6, 6, 14},   {"flipe01.3DS", 1, 150, 11}, {"flipe_env.3ds", 7, 150, 9}, {"frog.3DS", 11, 11, 16},
    {"cube.3DS", 1, 150, 4},  {"tubo.3DS", 2, 150, 23},    {"fr08.3DS", 24, 24, 16},     {"oldcube.3ds", 1, 150, 4},
    {"castle.3DS", 1, 150, 15}, {"sphere.3ds", 1, 150, 4}, {"planes.3DS", 1, 1, 27},
};

TEST(ContentLoaders, EverySceneLoadsWithItsCameraPath) {
    for (const LoadRule& rule : kRules) {
        SCOPED_TRACE(rule.name);
        Scene scene = {};
        scene.textureCount = 0;
        ASSERT_TRUE(LoadScene(nullptr, EntryPath(rule.name).c_str(), &scene));
        EXPECT_GE(scene.meshCount, rule.minMeshes);
        EXPECT_LE(scene.meshCount, rule.maxMeshes);
        ASSERT_EQ(scene.cameraCount, 1);
        int keys = scene.eyeKeys[0].count;
        EXPECT_EQ(scene.targetKeys[0].count, keys);
        EXPECT_GE(keys, rule.minKeys);
        EXPECT_LE(keys, 36);
        EXPECT_EQ(scene.eyePath[0].count, 301 * (keys - 3));
        for (int m = 0; m < scene.meshCount; m++) EXPECT_GT(scene.meshes[m].faceCount, 0) << "mesh " << m;
        UnloadScene(&scene);
    }
}

TEST(ContentLoaders, EveryPictureLoads) {
    if (!OpenTestGLContext()) GTEST_SKIP() << "no display";
    std::ifstream list(std::string(KAMORA_SOURCE_DIR) + "/content/generator/entries.txt");
    std::string name;
    int loaded = 0;
    while (std::getline(list, name)) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".tga") != 0) continue;
        Texture texture = {};
        EXPECT_TRUE(LoadTGATexture(nullptr, &texture, EntryPath(name).c_str())) << name;
        free(texture.data);
        loaded++;
    }
    EXPECT_EQ(loaded, 53);
}
