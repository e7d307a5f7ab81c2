// The environment-mapped scene with its flare ring and the particle fountain.
#pragma once

bool LoadEnvFlares();
void DrawEnvFlares(int now);
void UnloadEnvFlares();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1, EnvFade 0).
void ResetEnvFlares();
