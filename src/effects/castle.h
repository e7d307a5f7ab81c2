// The castle over the swirling spheres.
#pragma once

#include "scene/scene.h"

enum { kCastleTextureCount = 5, kCastlePanelCount = 4 };

// "castle.3DS": slot 0 "blue_env.tga" on every Mesh, slots 1-4 the caption panels.
extern Scene CastleScene;
extern Scene SphereScene;  // "sphere.3ds", loaded with the Effect, never drawn

bool LoadCastle();
void DrawCastle(int now);
void UnloadCastle();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetCastle();

// Caption panel `panel` (0..3) appears at second panel + 1 and shakes by (r2 mod 5) / 30 in x and
// (r1 mod 5) / 30 in y around its place; where it stands for the two random values.
struct CastlePanelPlace {
    float x, y;
};
CastlePanelPlace CastlePanelAt(int panel, int r1, int r2);
