// Deterministic noise for the procedural pictures.
#include "noise.h"

#include <cmath>

uint32_t HashInts(uint32_t a, uint32_t b, uint32_t seed) {
    uint32_t h = a * 0x8da6b343u ^ b * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

float HashUnit(uint32_t a, uint32_t b, uint32_t seed) { return (HashInts(a, b, seed) & 0xffffff) / 16777215.0f; }

static float Fade(float t) { return t * t * (3 - 2 * t); }

float TiledNoise(float x, float y, int period, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = (int)fx, iy = (int)fy;
    float tx = Fade(x - fx), ty = Fade(y - fy);
    auto corner = [&](int cx, int cy) {
        uint32_t wx = (uint32_t)(((cx % period) + period) % period);
        uint32_t wy = (uint32_t)(((cy % period) + period) % period);
        return HashUnit(wx, wy, seed);
    };
    float a = corner(ix, iy), b = corner(ix + 1, iy);
    float c = corner(ix, iy + 1), d = corner(ix + 1, iy + 1);
    float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float TiledFractal(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0, weight = 0.5f, total = 0;
    for (int o = 0; o < octaves; o++) {
        sum += TiledNoise(x, y, period, seed + o * 101) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

float NextUnit(Scatter& scatter) {
    scatter.state = scatter.state * 1664525u + 1013904223u;
    return (scatter.state >> 8) / 16777216.0f;
}
