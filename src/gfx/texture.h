// A picture in memory and the GL texture object made from it.
#pragma once

#include <cstdint>

struct Texture {
    uint8_t* data;          // width x height pixels, RGB (or RGBA), rows in file order; kept after upload
    uint32_t bitsPerPixel;  // 24 or 32
    uint32_t width;
    uint32_t height;
    uint32_t textureId;     // GL texture name
};

// Frees the pixel buffer (the GL texture object lives until the context goes).
void FreeTexturePixels(Texture* texture);
