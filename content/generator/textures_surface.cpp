// Surfaces: floors, bricks, planets, skins, water, metal, stripes.
#include "noise.h"
#include "textures.h"

#include <cmath>

static const float kPi = 3.14159265f;

Picture MakeFloorTiles(int size, Colour a, Colour b, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        int tx = (int)(u * 4), ty = (int)(v * 4);
        float fx = u * 4 - tx, fy = v * 4 - ty;
        float marble = TiledFractal(u * 6, v * 6, 6, 5, seed);
        float vein = std::pow(std::fabs(std::sin((u * 3 + marble * 3) * kPi)), 8.0f);
        Colour c = ((tx + ty) & 1) ? a : b;
        c = ScaleColour(c, 0.8f + 0.35f * marble);
        c = MixColour(c, {0.95f, 0.95f, 1.0f}, vein * 0.35f);
        float grout = std::fmin(std::fmin(fx, 1 - fx), std::fmin(fy, 1 - fy));
        return ScaleColour(c, 0.35f + 0.65f * SmoothStep(0.0f, 0.04f, grout));
    });
}

Picture MakeBricks(int size, Colour brick, Colour mortar, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        int row = (int)(v * 8);
        float x = u * 4 + (row & 1) * 0.5f;
        int column = (int)x;
        float fx = x - column, fy = v * 8 - row;
        float edge = std::fmin(std::fmin(fx * 2, (1 - fx) * 2), std::fmin(fy, 1 - fy));
        float tone = 0.75f + 0.4f * HashUnit((uint32_t)(column & 3), (uint32_t)row, seed);
        float grain = TiledFractal(u * 16, v * 16, 16, 3, seed + 1);
        Colour c = ScaleColour(brick, tone * (0.8f + 0.4f * grain));
        return MixColour(ScaleColour(mortar, 0.8f + 0.3f * grain), c, SmoothStep(0.05f, 0.12f, edge));
    });
}

Picture MakePlanet(int size, Colour a, Colour b, Colour c, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float warp = TiledFractal(u * 4, v * 4, 4, 4, seed);
        float band = std::sin((v * 9 + warp * 2.5f) * kPi) * 0.5f + 0.5f;
        Colour col = MixColour(a, b, band);
        float storm = TiledFractal(u * 8, v * 8, 8, 3, seed + 5);
        col = MixColour(col, c, SmoothStep(0.62f, 0.8f, storm));
        float poles = std::sin(v * kPi);  // darker towards the poles, lit at the equator
        return ScaleColour(col, 0.35f + 0.75f * poles);
    });
}

Picture MakeSkin(int size, Colour base, Colour spots, Colour belly, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float n = TiledFractal(u * 8, v * 4, 8, 4, seed);
        Colour c = MixColour(belly, base, SmoothStep(0.25f, 0.55f, v));  // pale underside
        float spot = TiledFractal(u * 8, v * 4, 8, 3, seed + 9);
        c = MixColour(c, spots, SmoothStep(0.6f, 0.66f, spot) * SmoothStep(0.35f, 0.6f, v));
        float light = 0.45f + 0.7f * std::pow(v, 0.8f);  // lit from above
        return ScaleColour(c, light * (0.85f + 0.3f * n));
    });
}

Picture MakeShadedFlat(int size, Colour low, Colour high, Colour highlight) {
    return ShadePicture(size, size, [&](float u, float v) {
        Colour c = MixColour(low, high, SmoothStep(0.0f, 1.0f, v));
        float du = std::fabs(u - 0.38f), dv = v - 0.78f;  // a window reflection near the top
        float spot = std::exp(-(du * du * 160 + dv * dv * 260));
        return AddColour(c, ScaleColour(highlight, spot));
    });
}

Picture MakeWater(int size, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float n = TiledFractal(u * 4, v * 4, 4, 5, seed);
        float ripple = std::sin((u * 14 + n * 6) * kPi) * std::sin((v * 10 + n * 5) * kPi);
        Colour deep = {0.03f, 0.16f, 0.32f}, light = {0.2f, 0.55f, 0.75f};
        Colour c = MixColour(deep, light, Clamp01(n * 0.9f + ripple * 0.2f));
        float glint = SmoothStep(0.82f, 0.95f, ripple * 0.5f + 0.5f) * 0.5f;
        float pad = TiledNoise(u * 10, v * 10, 10, seed + 4);
        c = MixColour(c, {0.12f, 0.42f, 0.12f}, SmoothStep(0.8f, 0.84f, pad));  // lily pads
        return AddColour(c, {glint, glint, glint});
    });
}

Picture MakeMetalPanels(int size, Colour tint, int panels, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float fx = u * panels - std::floor(u * panels), fy = v * panels - std::floor(v * panels);
        float brushed = TiledFractal(u * 64, v * 2, 64, 2, seed);
        float edge = std::fmin(std::fmin(fx, 1 - fx), std::fmin(fy, 1 - fy));
        Colour c = ScaleColour(tint, 0.7f + 0.3f * brushed);
        c = ScaleColour(c, 0.5f + 0.5f * SmoothStep(0.0f, 0.05f, edge));
        float rx = fx - 0.08f, ry = fy - 0.08f;  // a rivet in each corner
        if (rx * rx + ry * ry < 0.0012f) c = ScaleColour(tint, 1.25f);
        return c;
    });
}

Picture MakeRibbedPipe(int size, Colour tint, Colour light, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float rib = std::pow(std::fabs(std::sin(v * 8 * kPi)), 0.5f);
        float n = TiledFractal(u * 8, v * 8, 8, 3, seed);
        Colour c = ScaleColour(tint, (0.45f + 0.55f * rib) * (0.8f + 0.4f * n));
        float lamp = std::exp(-std::pow((u - 0.5f) * 12, 2.0f)) * std::pow(std::fabs(std::sin(v * 4 * kPi)), 12.0f);
        return AddColour(c, ScaleColour(light, lamp));
    });
}

Picture MakeHazardStripes(int size, Colour a, Colour b, int stripes, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float s = (u + v) * stripes;
        float t = SmoothStep(0.45f, 0.55f, std::fabs(s - std::floor(s) - 0.5f) * 2);
        float wear = TiledFractal(u * 16, v * 16, 16, 4, seed);
        Colour c = MixColour(a, b, t);
        float border = std::fmin(v, 1 - v);
        c = ScaleColour(c, 0.6f + 0.5f * wear);
        return ScaleColour(c, 0.4f + 0.6f * SmoothStep(0.0f, 0.06f, border));
    });
}

Picture MakeGridFloor(int size, Colour ground, Colour line, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float n = TiledFractal(u * 8, v * 8, 8, 4, seed);
        Colour c = ScaleColour(ground, 0.6f + 0.6f * n);
        float fx = u * 8 - std::floor(u * 8), fy = v * 8 - std::floor(v * 8);
        float d = std::fmin(std::fmin(fx, 1 - fx), std::fmin(fy, 1 - fy));
        return AddColour(c, ScaleColour(line, std::exp(-d * 60)));
    });
}
