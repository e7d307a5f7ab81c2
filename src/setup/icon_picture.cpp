#include "setup/icon_picture.h"

#include <cmath>

struct IconColour {
    float r, g, b;
};

static const IconColour kTileTop = {20, 30, 80}, kTileBottom = {120, 40, 110};
static const IconColour kSun = {255, 190, 60}, kWave = {120, 200, 255}, kBorder = {60, 64, 72};

static constexpr int kSamples = 4, kWaveSegments = 24;  // 4 x 4 samples a pixel; each wave as a polyline

static float Blend(float a, float b, float t) { return a + (b - a) * t; }

// Point `t` of wave `row`: a cubic curve across the tile, rising then falling (units of the side).
static void WavePoint(int row, float t, float inset, float* x, float* y) {
    float wy = 0.66f + 0.1f * (float)row, u = 1 - t;
    float xs[4] = {inset, 0.33f, 0.66f, 1 - inset}, ys[4] = {wy, wy - 0.08f, wy + 0.08f, wy};
    float w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
    *x = *y = 0;
    for (int i = 0; i < 4; ++i) {
        *x += w[i] * xs[i];
        *y += w[i] * ys[i];
    }
}

static float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    float dx = bx - ax, dy = by - ay, length = dx * dx + dy * dy;
    float t = length > 0 ? ((px - ax) * dx + (py - ay) * dy) / length : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    float ex = px - (ax + t * dx), ey = py - (ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

struct WaveLines {
    float x[3][kWaveSegments + 1], y[3][kWaveSegments + 1];
    float halfWidth;
};

static bool OnWave(const WaveLines& waves, float px, float py) {
    for (int row = 0; row < 3; ++row) {
        float wy = 0.66f + 0.1f * (float)row;
        if (std::fabs(py - wy) > 0.05f + waves.halfWidth) continue;
        for (int i = 0; i < kWaveSegments; ++i)
            if (SegmentDistance(px, py, waves.x[row][i], waves.y[row][i], waves.x[row][i + 1], waves.y[row][i + 1]) <=
                waves.halfWidth)
                return true;
    }
    return false;
}

// The colour under one sample point (units of the side, y down).
static IconColour SampleIcon(const WaveLines& waves, float px, float py, float border) {
    if (px < border || py < border || px > 1 - border || py > 1 - border) return kBorder;
    if (OnWave(waves, px, py)) return kWave;
    float sx = px - 0.5f, sy = py - 0.55f;
    if (sx * sx + sy * sy <= 0.22f * 0.22f) return kSun;
    return {Blend(kTileTop.r, kTileBottom.r, py), Blend(kTileTop.g, kTileBottom.g, py),
            Blend(kTileTop.b, kTileBottom.b, py)};
}

void PaintIconPicture(unsigned char* rgb, int side) {
    if (side <= 0) return;
    float pixel = 1.0f / (float)side;
    // The lines keep at least a pixel's width at small sizes.
    float border = std::fmax(1.0f, (float)side / 48.0f) * pixel;
    WaveLines waves;
    waves.halfWidth = 0.5f * std::fmax(1.0f, 0.045f * (float)side) * pixel;
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i <= kWaveSegments; ++i)
            WavePoint(row, (float)i / kWaveSegments, 0.06f, &waves.x[row][i], &waves.y[row][i]);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            IconColour sum = {0, 0, 0};
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    IconColour c = SampleIcon(waves, ((float)x + ((float)sx + 0.5f) / kSamples) * pixel,
                                              ((float)y + ((float)sy + 0.5f) / kSamples) * pixel, border);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            unsigned char* out = rgb + ((long)y * side + x) * 3;
            const float n = kSamples * kSamples;
            out[0] = (unsigned char)(sum.r / n + 0.5f);
            out[1] = (unsigned char)(sum.g / n + 0.5f);
            out[2] = (unsigned char)(sum.b / n + 0.5f);
        }
}
