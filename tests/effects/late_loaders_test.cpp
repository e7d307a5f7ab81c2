// The three late loaders on the generated package: the point cloud's random draws, the Mesh
// attributes they set, and unloading twice.
#include "effects/castle.h"
#include "effects/effect_random.h"
#include "effects/picture_wave.h"
#include "effects/scroller.h"
#include "gl_context.h"
#include "package/package.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

TEST(LateLoaders, LoadFromThePackageAndUnloadTwice) {
    const std::string package = std::string(KAMORA_BUILD_DIR) + "/KaMora.ppk";
    if (!std::ifstream(package)) GTEST_SKIP() << "no KaMora.ppk in the build";
    if (!OpenTestGLContext()) GTEST_SKIP() << "no display";
    ASSERT_TRUE(InitUnpacker(nullptr, package.c_str(), 0, false));

    SeedEffectRandom(5);
    ASSERT_TRUE(LoadCastle());
    ASSERT_TRUE(LoadScroller());
    ASSERT_TRUE(LoadPictureWave());

    // The castle's loader draws nothing from the random sequence; the cloud takes x, y, z of each point in order.
    SeedEffectRandom(5);
    for (int i = 0; i < kCloudPoints * 3; ++i) ASSERT_EQ(PointCloud[i], EffectRandom() % 200 - 100) << i;

    ASSERT_GE(CastleScene.meshCount, 1);
    for (int m = 0; m < CastleScene.meshCount; ++m) EXPECT_EQ(CastleScene.meshes[m].texture, 0);
    for (int slot = 0; slot < kCastleTextureCount; ++slot) EXPECT_NE(CastleScene.textures[slot].textureId, 0u);
    EXPECT_EQ(OldCubeScene.meshes[0].visible, 0);
    EXPECT_EQ(OldCubeScene.textureCount, 0);
    EXPECT_EQ(PlanesScene.meshes[0].visible, 0);
    EXPECT_EQ(PlanesScene.meshes[0].texture, 0);
    ASSERT_NE(PlanesMatrix, nullptr);
    for (int i = 0; i < kPlanesPictureSize * kPlanesPictureSize * 3; ++i) {
        ASSERT_GE(PlanesMatrix[i], 0) << "the whole picture is in the file";
        ASSERT_LE(PlanesMatrix[i], 1);
    }

    for (int pass = 0; pass < 2; ++pass) {
        UnloadCastle();
        UnloadScroller();
        UnloadPictureWave();
    }
    EXPECT_EQ(PointCloud, nullptr);
    EXPECT_EQ(PlanesMatrix, nullptr);
    EXPECT_EQ(ScrollerTextures[0].data, nullptr);
}
