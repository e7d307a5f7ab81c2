// The opening scene with its flare ring and wave sheet, fading to the group logo.
#pragma once

#include "gfx/texture.h"
#include "scene/scene.h"

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
void BuildWaveMesh(float phase, int amplitude);
