// The environment-mapped scene with its flare ring and the particle fountain.
#pragma once

#include "scene/scene.h"

extern Scene EnvScene;  // "flipe_env.3ds"; the title letters draw its first seven Meshes too
extern float EnvFade;   // the alpha of EnvScene on the next frame: 0 at first, 1 two seconds in

bool LoadEnvFlares();
void DrawEnvFlares(int now);
void UnloadEnvFlares();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1, EnvFade 0).
void ResetEnvFlares();

// The scene's alpha for the frame after `now`, from the frame its camera started on.
float EnvFadeAfter(unsigned now, int startFrame);
