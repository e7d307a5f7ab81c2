// The opening scene with its flare ring and wave sheet, fading to the group logo.
#pragma once

#include "gfx/texture.h"
#include "scene/scene.h"

extern Scene Scn1Scene;        // "scn1.3ds"
extern Scene LogoScene;        // "flipe01.3DS" with the group logo
extern Texture FlareTexture;   // also drawn by the title letters
extern Texture ScrollTexture;  // the end scroll's picture
extern Mesh WaveMesh;          // rebuilt by BuildWaveMesh

bool LoadOpeningScene();
bool LoadLogoScene();
void DrawOpeningScene(int now);
void UnloadOpeningScene();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetOpeningScene();
void UnloadLogoScene();

// The 9 x 12 cell sheet from (-100, -100) to (140, 80), its height a sum of a row and a column wave.
void BuildWaveMesh(float phase, int amplitude);

// Untextured, blended flat colour over the whole 4:3 view (texturing must be off).
void DrawFullVeil(float r, float g, float b, float alpha);
// The faint white band across the middle two thirds of the view, laid over E1 and E2.
void DrawWhiteBand();

// What one frame of the opening shows, from its clock: s = now / 10000 and k = 3s.
struct OpeningMoment {
    float s, k;
    bool sceneShown;  // scene, flare ring and wave sheet (until the black veil is opaque)
    bool logoShown;
    float logoAlpha;  // unclamped
    float veilAlpha;  // the black veil, unclamped
};
OpeningMoment OpeningSceneMoment(unsigned now);

// Centre of flare `d` (its angle offset on the ring) at slow clock s, before the ring's scaling.
Vec3 OpeningFlarePosition(float s, float d);
