// The frog scene with its tumbling cubes, then the waving cube field.
#pragma once

bool LoadFrogCubes();
void DrawFrogCubes(int now);
void UnloadFrogCubes();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetFrogCubes();
