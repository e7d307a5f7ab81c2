// The flight through the fog past the barriers.
#pragma once

bool LoadFogFlight();
void DrawFogFlight(int now);
void UnloadFogFlight();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetFogFlight();
