// Glows, skies, environment maps, raster bars and the plasma.
#include "noise.h"
#include "textures.h"

#include <cmath>

static const float kPi = 3.14159265f;

Picture ShadePicture(int width, int height, const std::function<Colour(float, float)>& shade) {
    Picture picture = MakePicture(width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) PixelAt(picture, x, y) = shade((x + 0.5f) / width, (y + 0.5f) / height);
    return picture;
}

Picture MakeFlare(int size, Colour core, Colour halo, int rays, float rayStrength) {
    return ShadePicture(size, size, [&](float u, float v) {
        float dx = u * 2 - 1, dy = v * 2 - 1;
        float d = std::sqrt(dx * dx + dy * dy);
        float edge = 1 - SmoothStep(0.75f, 1.0f, d);  // nothing reaches the square's border
        float glow = std::exp(-d * d * 9) * 0.9f + std::exp(-d * 4.5f) * 0.35f;
        float ray = 0;
        if (rays > 0) {
            float a = std::atan2(dy, dx);
            ray = std::pow(std::fabs(std::cos(a * rays * 0.5f)), 24.0f) * std::exp(-d * 3.5f) * rayStrength;
        }
        float hot = std::exp(-d * d * 60);
        Colour c = AddColour(ScaleColour(halo, (glow + ray) * edge), ScaleColour(core, hot * edge));
        return c;
    });
}

// Colour of the world in a direction: (x, y) across, z up.
static Colour WorldColour(float x, float y, float z, Colour zenith, Colour horizon, Colour ground, Colour sun,
                          unsigned seed) {
    Colour c;
    if (z >= 0) {
        c = MixColour(horizon, zenith, std::pow(z, 0.6f));
        float a = std::atan2(y, x) / (2 * kPi) + 0.5f;
        float cloud = TiledFractal(a * 8, z * 3, 8, 4, seed);
        c = MixColour(c, {1, 1, 1}, SmoothStep(0.5f, 0.8f, cloud) * 0.5f * (1 - z));
    } else {
        float a = std::atan2(y, x) / (2 * kPi) + 0.5f;
        float rough = TiledFractal(a * 16, -z * 4, 16, 3, seed + 7);
        c = MixColour(horizon, ground, std::pow(-z, 0.4f));
        c = ScaleColour(c, 0.75f + 0.5f * rough);
    }
    const float sx = 0.5f, sy = 0.45f, sz = 0.74f;  // towards the sun, high in the sky
    float len = std::sqrt(sx * sx + sy * sy + sz * sz);
    float cosAngle = (x * sx + y * sy + z * sz) / len;
    c = AddColour(c, ScaleColour(sun, std::pow(Clamp01(cosAngle), 60.0f) + 0.25f * std::pow(Clamp01(cosAngle), 6.0f)));
    return c;
}

Picture MakeSphereEnv(int size, Colour zenith, Colour horizon, Colour ground, Colour sun, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        float nx = u * 2 - 1, ny = v * 2 - 1;
        float q = nx * nx + ny * ny;
        if (q > 1) {  // past the ball's rim: the direction straight behind
            float f = 1 / std::sqrt(q);
            nx *= f;
            ny *= f;
            q = 1;
        }
        float nz = std::sqrt(1 - q);
        // Mirror of the view direction (0, 0, -1) about the ball's normal; picture v is world up.
        float rx = 2 * nz * nx, ry = 2 * nz * ny, rz = 2 * nz * nz - 1;
        return WorldColour(rx, rz, ry, zenith, horizon, ground, sun, seed);
    });
}

Picture MakeCloudSky(int size, Colour top, Colour bottom, Colour cloud, float cover, unsigned seed) {
    return ShadePicture(size, size, [&](float u, float v) {
        Colour c = MixColour(bottom, top, v);
        float n = TiledFractal(u * 4, v * 4, 4, 5, seed);
        float amount = SmoothStep(1 - cover, 1 - cover + 0.25f, n);
        float light = 0.8f + 0.4f * TiledFractal(u * 8 + 0.3f, v * 8, 8, 3, seed + 3);
        return MixColour(c, ScaleColour(cloud, light), amount);
    });
}

Picture MakeRasterBar(Colour colour) {
    return ShadePicture(32, 64, [&](float, float v) {
        float d = std::fabs(v * 2 - 1);
        float body = std::pow(1 - d, 1.6f);
        float shine = std::exp(-(v - 0.62f) * (v - 0.62f) * 300) * 0.6f;  // a highlight above the middle
        return AddColour(ScaleColour(colour, body), ScaleColour({1, 1, 1}, shine * body));
    });
}

Picture MakePlasma(int size) {
    return ShadePicture(size, size, [&](float u, float v) {
        float x = u * 2 * kPi, y = v * 2 * kPi;
        float p = std::sin(x * 2) + std::sin(y * 3 + 1) + std::sin((x + y) * 2 + 0.5f) + std::sin(x * 3 - std::sin(y) * 2);
        float q = p * 0.25f + 0.5f;
        // Deep blues and violets with thin warm crests: drawn additively in layers, so kept dark.
        Colour c = MixColour({0.02f, 0.03f, 0.15f}, {0.3f, 0.12f, 0.5f}, 0.5f + 0.5f * std::sin(q * 2 * kPi));
        float crest = std::pow(0.5f + 0.5f * std::sin(q * 6 * kPi), 12.0f);
        c = AddColour(c, ScaleColour({0.9f, 0.45f, 0.2f}, crest * 0.5f));
        float n = TiledFractal(u * 8, v * 8, 8, 3, 41);
        return ScaleColour(c, 0.6f + 0.6f * n);
    });
}
