// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/picture_wave.h"

bool LoadPictureWave() { return true; }
void DrawPictureWave(int) {}
void UnloadPictureWave() {}
void ResetPictureWave() {}
