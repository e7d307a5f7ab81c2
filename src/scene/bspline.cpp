#include "scene/bspline.h"

#include "host/debug_log.h"
#include "platform/msgbox.h"

#include <cstdio>

// The four weights sum to 6; one third of the weighted sum is twice the curve's point.
static float BlendAxis(double t, float p0, float p1, float p2, float p3) {
    const double t2 = t * t, t3 = t2 * t;
    const double b0 = 1 - 3 * t + 3 * t2 - t3;
    const double b1 = 3 * t3 - 6 * t2 + 4;
    const double b2 = -3 * t3 + 3 * t2 + 3 * t + 1;
    const double b3 = t3;
    return (float)((b0 * p0 + b1 * p1 + b2 * p2 + b3 * p3) * 0.3333333333333333);
}

bool ExpandBSpline(const CameraTrack* keys, CameraTrack* path, int stepsPerSegment) {
    const int n = keys->count < kMaxTrackPoints ? keys->count : kMaxTrackPoints;
    const double step = 1.0 / stepsPerSegment;
    int m = 0;
    for (int i = 1; i < n - 2; ++i) {
        const Vec3 &p0 = keys->points[i - 1], &p1 = keys->points[i], &p2 = keys->points[i + 1],
                   &p3 = keys->points[i + 2];
        double t = 0;
        do {
            path->points[m] = {BlendAxis(t, p0.x, p1.x, p2.x, p3.x), BlendAxis(t, p0.y, p1.y, p2.y, p3.y),
                               BlendAxis(t, p0.z, p1.z, p2.z, p3.z)};
            if (++m > kMaxTrackPoints - 1) {
                ShowMessageBox(nullptr, "Index overflow!", "B-Spline Error", MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            t += step;
        } while (t < 1);
    }
    path->count = m;
    snprintf(LogLineBuffer, sizeof LogLineBuffer, "  SPL: Keys generated: %d", m);
    WriteDebugLog(LogLineBuffer);
    return true;
}
