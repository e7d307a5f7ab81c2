// Smooth lines on ES, which draws only aliased ones: each line becomes a quad two pixels wider and
// one pixel longer than the line, whose fragments take the share of the pixel the line covers into
// their alpha, as the GL library's own smooth lines do. The quad is made in window space, so it
// needs the viewport.
#pragma once

#include "fixed/fixed_batch.h"

// Writes the two triangles of the smooth line from a to b into `out` and returns 6, or 0 when the
// line lies wholly behind the eye. Like the GL library's own smooth lines, each is a quad two pixels
// wider and one pixel longer than the line, whose fragments take the share of the pixel the line
// covers into their alpha.
int ExpandSmoothLine(BatchVertex a, BatchVertex b, const int viewport[4], BatchVertex* out);
// Moves a point of `size` pixels to where GL centres its square: an even size on the nearest pixel
// corner, an odd one on the centre of the pixel the point is in.
void SnapPoint(BatchVertex* point, const int viewport[4], float size);
