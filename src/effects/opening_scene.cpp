// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/opening_scene.h"

Texture FlareTexture;
Texture ScrollTexture;
Mesh WaveMesh;

bool LoadOpeningScene() { return true; }
bool LoadLogoScene() { return true; }
void DrawOpeningScene(int) {}
void UnloadOpeningScene() {}
void ResetOpeningScene() {}
void UnloadLogoScene() {}
void BuildWaveMesh(float, int) {}
