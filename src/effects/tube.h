// The lit ride through the tube.
#pragma once

bool LoadTube();
void DrawTube(int now);
void UnloadTube();
