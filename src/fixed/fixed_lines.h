// Smooth lines on ES, which draws only aliased ones: each line becomes a quad two pixels wider and
// one pixel longer than the line, whose fragments take the share of the pixel the line covers into
// their alpha, as the GL library's own smooth lines do. The quad is made in window space, so it
// needs the viewport.
#pragma once

#include "fixed/fixed_batch.h"

// Writes the two triangles of the line from a to b into `out` and returns 6, or 0 when the line
// lies wholly behind the eye.
int ExpandSmoothLine(BatchVertex a, BatchVertex b, const int viewport[4], BatchVertex* out);
