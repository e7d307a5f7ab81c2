// PNG files for frames through libpng: 8-bit RGB, compressed at a fast level so that a capture
// of every frame stays a fraction of the raw size without slowing the capture down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top to bottom, 3 bytes a pixel
};

// Writes through `path`.part and renames, so a failed write leaves nothing behind.
bool WritePng(const std::string& path, const RgbImage& image);
// Reads any PNG as 8-bit RGB (alpha dropped, palettes expanded). False when it is not one.
bool ReadPng(const std::string& path, RgbImage* image);
