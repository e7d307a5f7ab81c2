// Pictures in memory (linear RGB floats, row 0 at the bottom as the show draws it) and
// the uncompressed TGA writer.
#pragma once

#include <string>
#include <vector>

struct Colour {
    float r, g, b;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<Colour> pixels;  // row after row, bottom row first
};

Picture MakePicture(int width, int height, Colour fill = {0, 0, 0});
Colour& PixelAt(Picture& picture, int x, int y);
Colour PixelAt(const Picture& picture, int x, int y);  // wraps around the edges

Colour MixColour(Colour a, Colour b, float t);
Colour ScaleColour(Colour c, float s);
Colour AddColour(Colour a, Colour b);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float x);

// Adds a soft round glow of the given colour, radius and falloff sharpness.
void AddGlow(Picture& picture, float cx, float cy, float radius, Colour colour, float sharpness);
// Box-blurs the picture (three passes approximate a Gaussian), wrapping or clamping at edges.
Picture BlurPicture(const Picture& picture, int radius, bool wrap);

// Bytes of a picture as the show's tables store them: R, G, B per pixel, rows bottom first.
std::vector<unsigned char> PictureBytes(const Picture& picture);

// Writes an uncompressed true-colour TGA (type 2, bottom-left origin) at 24 bits per pixel.
bool WriteTGA(const std::string& path, const Picture& picture);
bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
