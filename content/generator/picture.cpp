// Pictures in memory and the TGA writer.
#include "picture.h"

#include <cmath>
#include <cstdio>

Picture MakePicture(int width, int height, Colour fill) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.assign((size_t)width * height, fill);
    return picture;
}

Colour& PixelAt(Picture& picture, int x, int y) { return picture.pixels[(size_t)y * picture.width + x]; }

Colour PixelAt(const Picture& picture, int x, int y) {
    x = ((x % picture.width) + picture.width) % picture.width;
    y = ((y % picture.height) + picture.height) % picture.height;
    return picture.pixels[(size_t)y * picture.width + x];
}

Colour MixColour(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Colour ScaleColour(Colour c, float s) { return {c.r * s, c.g * s, c.b * s}; }
Colour AddColour(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float SmoothStep(float edge0, float edge1, float x) {
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

void AddGlow(Picture& picture, float cx, float cy, float radius, Colour colour, float sharpness) {
    for (int y = 0; y < picture.height; y++) {
        for (int x = 0; x < picture.width; x++) {
            float dx = (x + 0.5f - cx) / radius, dy = (y + 0.5f - cy) / radius;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d >= 1) continue;
            float w = std::pow(1 - d, sharpness);
            PixelAt(picture, x, y) = AddColour(PixelAt(picture, x, y), ScaleColour(colour, w));
        }
    }
}

// One box pass along x (step 1) or y; sums over a window of 2 * radius + 1.
static Picture BoxPass(const Picture& in, int radius, bool alongX, bool wrap) {
    Picture out = MakePicture(in.width, in.height);
    float norm = 1.0f / (2 * radius + 1);
    for (int y = 0; y < in.height; y++) {
        for (int x = 0; x < in.width; x++) {
            Colour sum = {0, 0, 0};
            for (int k = -radius; k <= radius; k++) {
                int sx = alongX ? x + k : x, sy = alongX ? y : y + k;
                if (!wrap) {
                    if (sx < 0 || sx >= in.width || sy < 0 || sy >= in.height) continue;
                }
                sum = AddColour(sum, PixelAt(in, sx, sy));
            }
            PixelAt(out, x, y) = ScaleColour(sum, norm);
        }
    }
    return out;
}

Picture BlurPicture(const Picture& picture, int radius, bool wrap) {
    Picture p = picture;
    for (int pass = 0; pass < 3; pass++) {
        p = BoxPass(p, radius, true, wrap);
        p = BoxPass(p, radius, false, wrap);
    }
    return p;
}

static unsigned char ToByte(float v) { return (unsigned char)std::lround(Clamp01(v) * 255.0f); }

std::vector<unsigned char> PictureBytes(const Picture& picture) {
    std::vector<unsigned char> bytes;
    bytes.reserve(picture.pixels.size() * 3);
    for (const Colour& c : picture.pixels) {
        bytes.push_back(ToByte(c.r));
        bytes.push_back(ToByte(c.g));
        bytes.push_back(ToByte(c.b));
    }
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

bool WriteTGA(const std::string& path, const Picture& picture) {
    std::vector<unsigned char> bytes(18, 0);
    bytes[2] = 2;  // uncompressed true-colour
    bytes[12] = picture.width & 255;
    bytes[13] = picture.width >> 8;
    bytes[14] = picture.height & 255;
    bytes[15] = picture.height >> 8;
    bytes[16] = 24;
    bytes[17] = 0;  // bottom-left origin: rows are stored bottom first
    for (const Colour& c : picture.pixels) {
        bytes.push_back(ToByte(c.b));
        bytes.push_back(ToByte(c.g));
        bytes.push_back(ToByte(c.r));
    }
    return WriteBytes(path, bytes);
}
