// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/scroller.h"

bool LoadScroller() { return true; }
void DrawScroller(int) {}
void UnloadScroller() {}
void ResetScroller() {}
