#include "fixed/fixed_raster.h"

#include <cmath>

static void Mix(const BatchVertex& a, const BatchVertex& b, float t, BatchVertex* out) {
    const float* from = &a.clip[0];
    const float* to = &b.clip[0];
    float* into = &out->clip[0];
    for (size_t i = 0; i < sizeof(BatchVertex) / sizeof(float); ++i) into[i] = from[i] + (to[i] - from[i]) * t;
}

// Cuts the line at the near plane (z = -w); false when it lies wholly beyond it.
static bool ClipToNearPlane(BatchVertex* a, BatchVertex* b) {
    const float da = a->clip[2] + a->clip[3], db = b->clip[2] + b->clip[3];
    if (da < 0 && db < 0) return false;
    if (da < 0)
        Mix(*a, *b, da / (da - db), a);
    else if (db < 0)
        Mix(*b, *a, db / (db - da), b);
    return true;
}

struct WindowPoint {
    float x, y;
};

static WindowPoint ToWindow(const BatchVertex& v, const int* viewport) {
    const float halfWidth = viewport[2] * 0.5f, halfHeight = viewport[3] * 0.5f;
    return {v.clip[0] / v.clip[3] * halfWidth + viewport[0] + halfWidth,
            v.clip[1] / v.clip[3] * halfHeight + viewport[1] + halfHeight};
}

// Moves v by (dx, dy) pixels, keeping its depth and w.
static void Shift(BatchVertex* v, float dx, float dy, const int* viewport) {
    v->clip[0] += dx * 2 / viewport[2] * v->clip[3];
    v->clip[1] += dy * 2 / viewport[3] * v->clip[3];
}

int ExpandSmoothLine(BatchVertex a, BatchVertex b, const int viewport[4], BatchVertex* out) {
    if (!ClipToNearPlane(&a, &b) || viewport[2] <= 0 || viewport[3] <= 0) return 0;
    const WindowPoint p = ToWindow(a, viewport), q = ToWindow(b, viewport);
    const float dx = q.x - p.x, dy = q.y - p.y;
    const float angle = atan2f(dy, dx), c = cosf(angle), s = sinf(angle);
    // Coverage falls from 1 on the line to 0 one pixel beside it, and from 1 half a pixel inside
    // each end to 0 half a pixel beyond it. A line shorter than a pixel fades with its length
    // instead, so that one of no length draws nothing.
    const float halfWidth = 1.0f, along = 0.5f;
    float halfLength = 0.5f * sqrtf(dx * dx + dy * dy);
    halfLength = halfLength < 0.5f ? 2 * halfLength : halfLength + 0.5f;
    BatchVertex corner[4] = {a, a, b, b};
    const float sideX[4] = {-1, 1, -1, 1}, endX[4] = {-1, -1, 1, 1};
    for (int i = 0; i < 4; ++i) {
        const float l = endX[i] * along, w = -sideX[i] * halfWidth;
        Shift(&corner[i], l * c - w * s, l * s + w * c, viewport);
        corner[i].coverage[0] = sideX[i] * halfWidth;
        corner[i].coverage[1] = halfWidth;
        corner[i].coverage[2] = endX[i] * halfLength;
        corner[i].coverage[3] = halfLength;
    }
    const int order[6] = {2, 1, 0, 3, 1, 2};
    for (int i = 0; i < 6; ++i) out[i] = corner[order[i]];
    return 6;
}

void SnapPoint(BatchVertex* point, const int viewport[4], float size) {
    if (point->clip[3] <= 0 || viewport[2] <= 0 || viewport[3] <= 0) return;
    const WindowPoint p = ToWindow(*point, viewport);
    const bool even = (int)(size + 0.5f) % 2 == 0;
    const float x = even ? floorf(p.x + 0.5f) : floorf(p.x) + 0.5f;
    const float y = even ? floorf(p.y + 0.5f) : floorf(p.y) + 0.5f;
    Shift(point, x - p.x, y - p.y, viewport);
}
