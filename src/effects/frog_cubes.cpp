// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/frog_cubes.h"

bool LoadFrogCubes() { return true; }
void DrawFrogCubes(int) {}
void UnloadFrogCubes() {}
void ResetFrogCubes() {}
