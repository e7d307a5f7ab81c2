// The flight through the fog past the barriers.
#pragma once

#include "scene/scene.h"

enum { kFogTextureCount = 9, kFogMeshesNeeded = 24 };

extern Scene FogScene;  // "fr08.3DS": sky, floor, tube and barriers, with three caption panels

bool LoadFogFlight();
void DrawFogFlight(int now);
void UnloadFogFlight();
// Puts the Effect back to its state after loading: the next frame starts it (and its camera) over.
void ResetFogFlight();

// Gives every Mesh of the fog scene its texture slot. Mesh 3 and any Mesh past the 24th take
// "08barrera.tga" (slot 2), the one picture the course loads for no Mesh of its own.
void AssignFogMaterials(Scene* scene);
