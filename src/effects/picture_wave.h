// The waving picture grid under the end scroll.
#pragma once

bool LoadPictureWave();
void DrawPictureWave(int now);
void UnloadPictureWave();
