// The castle over the swirling spheres.
#pragma once

bool LoadCastle();
void DrawCastle(int now);
void UnloadCastle();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetCastle();
