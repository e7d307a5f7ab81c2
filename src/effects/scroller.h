// The sine scroller over the point cloud, with the raster bars.
#pragma once

bool LoadScroller();
void DrawScroller(int now);
void UnloadScroller();
