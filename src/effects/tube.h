// The lit ride through the tube.
#pragma once

#include "scene/scene.h"

#include <cstdint>

enum { kTubeTextureCount = 7 };

extern Scene TubeScene;  // "tubo.3DS": the tube, its springs and five caption panels (slots 2 to 6)

bool LoadTube();
void DrawTube(int now);
void UnloadTube();
// Puts the Effect back to its state after loading: the next frame starts it (and its camera) over.
void ResetTube();

// The tube (Mesh 0) takes "tubo.tga", every other Mesh "muelle.tga".
void AssignTubeMaterials(Scene* scene);

// The faint white haze across the middle two thirds of the view (texturing must be off); leaves
// blending on.
void DrawHaze();
// The white flash over the whole view, fading out during the first second after `startTime`.
void DrawStartFlash(int32_t startTime, int now);

// Light 0's height before the division by w = 65, bobbing with a period of pi seconds.
float TubeLightHeight(float sec);
