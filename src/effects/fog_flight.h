// The flight through the fog past the barriers.
#pragma once

bool LoadFogFlight();
void DrawFogFlight(int now);
void UnloadFogFlight();
