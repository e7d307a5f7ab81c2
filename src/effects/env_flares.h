// The environment-mapped scene with its flare ring and the particle fountain.
#pragma once

bool LoadEnvFlares();
void DrawEnvFlares(int now);
void UnloadEnvFlares();
