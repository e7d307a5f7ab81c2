// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/castle.h"

bool LoadCastle() { return true; }
void DrawCastle(int) {}
void UnloadCastle() {}
void ResetCastle() {}
