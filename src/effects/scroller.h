// The sine scroller over the point cloud, with the raster bars.
#pragma once

#include "gfx/texture.h"
#include "scene/scene.h"

#include <cstdint>

enum {
    kScrollRows = 12,       // "sinscrol.raw": 12 rows of 256 RGB pixels, row 0 drawn lowest
    kScrollColumns = 256,
    kCloudPoints = 1200,
    kScrollerTextureCount = 4,  // the squares' "blue_env.tga", then the red, green and blue bars
};
enum : uint32_t { kBarsStart = 19310592 };  // the raster bars show from this music position on

extern float ScrollColours[kScrollRows][kScrollColumns][3];
extern float* PointCloud;  // kCloudPoints points of x, y, z
extern Texture ScrollerTextures[kScrollerTextureCount];
extern Scene OldCubeScene;  // loaded with the Effect, never drawn

bool LoadScroller();
void DrawScroller(int now);
void UnloadScroller();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetScroller();

