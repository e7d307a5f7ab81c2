// Placeholder until this Effect lands: loads nothing, draws nothing.
#include "effects/fog_flight.h"

bool LoadFogFlight() { return true; }
void DrawFogFlight(int) {}
void UnloadFogFlight() {}
void ResetFogFlight() {}
