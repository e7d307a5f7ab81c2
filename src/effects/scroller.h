// The sine scroller over the point cloud, with the raster bars.
#pragma once

bool LoadScroller();
void DrawScroller(int now);
void UnloadScroller();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetScroller();
