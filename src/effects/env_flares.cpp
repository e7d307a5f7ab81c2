// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/env_flares.h"

bool LoadEnvFlares() { return true; }
void DrawEnvFlares(int) {}
void UnloadEnvFlares() {}
void ResetEnvFlares() {}
