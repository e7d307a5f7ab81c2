// The frog scene with its tumbling cubes, then the waving cube field.
#pragma once

#include "scene/scene.h"

enum { kFrogTextureCount = 13, kFrogMeshesNeeded = 11 };

extern Scene FrogScene;  // "frog.3DS" with its materials and the six caption panels (slots 7 to 12)
extern Scene CubeScene;  // "cube.3DS": its first Mesh is the cube, textured "gris.tga"

bool LoadFrogCubes();
void DrawFrogCubes(int now);
void UnloadFrogCubes();
// Puts the Effect back to its state after loading: the next frame starts it (and its camera) over.
void ResetFrogCubes();

// Gives every Mesh of the frog scene its texture slot. A Mesh past the eleventh takes the sky's
// slot 3 like the others; Meshes the scene lacks are skipped.
void AssignFrogMaterials(Scene* scene);
