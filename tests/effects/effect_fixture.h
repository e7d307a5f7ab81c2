// Drawing an Effect in the hidden test window: the show's projection and ScreenQuad, solid-colour
// textures and hand-made Scenes without cameras (drawn from the eye at the origin).
#pragma once

#include "scene/scene.h"

// Opens the window (false without a display), builds ScreenQuad, sets the show's 90-degree
// projection and clears the frame to black with the modelview matrix at identity.
bool BeginEffectFrame();
// Clears colour and depth and resets the modelview matrix, as the Timeline does between frames.
void ClearEffectFrame();
// A 4 x 4 texture of one colour, no mipmaps.
unsigned MakeSolidTexture(unsigned char r, unsigned char g, unsigned char b);
// A Scene with `meshCount` empty, visible Meshes, `textureCount` texture records and no camera.
void MakeTestScene(Scene* scene, int meshCount, int textureCount);
// Makes `mesh` a square of half size `half` facing the eye at depth z.
void MakeSquareMesh(Mesh* mesh, float half, float z);
// Red channel of the pixel at (x, y), y counted from the bottom.
int RedAt(int x, int y);
