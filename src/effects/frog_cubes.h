// The frog scene with its tumbling cubes, then the waving cube field.
#pragma once

bool LoadFrogCubes();
void DrawFrogCubes(int now);
void UnloadFrogCubes();
