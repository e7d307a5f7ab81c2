// The waving picture grid under the end scroll.
#pragma once

bool LoadPictureWave();
void DrawPictureWave(int now);
void UnloadPictureWave();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetPictureWave();
