// Camera paths: a uniform cubic B-spline through a camera's keys, one point per frame.
#pragma once

#include "scene/scene.h"

// Samples every key interval at t = 0, step, 2 step, ... while t < 1 (step = 1/stepsPerSegment
// in double precision, so 300 steps give 301 points). Points lie at twice the curve's position;
// whoever reads a path halves it. Fewer than 4 keys give an empty path. The 10000th point ends
// the expansion with the "Index overflow!" box and false; the path's count is then not written.
bool ExpandBSpline(const CameraTrack* keys, CameraTrack* path, int stepsPerSegment);
