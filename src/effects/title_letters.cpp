// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/title_letters.h"

bool LoadTitleLetters() { return true; }
void DrawTitleLetters(int) {}
void UnloadTitleLetters() {}
void ResetTitleLetters() {}
