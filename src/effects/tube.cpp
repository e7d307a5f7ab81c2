// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/tube.h"

bool LoadTube() { return true; }
void DrawTube(int) {}
void UnloadTube() {}
void ResetTube() {}
