// The lit ride through the tube.
#pragma once

bool LoadTube();
void DrawTube(int now);
void UnloadTube();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetTube();
