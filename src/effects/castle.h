// The castle over the swirling spheres.
#pragma once

bool LoadCastle();
void DrawCastle(int now);
void UnloadCastle();
