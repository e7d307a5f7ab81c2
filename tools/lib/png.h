// Minimal PNG files for frames: 8-bit RGB, written with stored (uncompressed) deflate blocks so
// no compression library is needed, and read back when they were written that way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top to bottom, 3 bytes a pixel
};

bool WritePng(const std::string& path, const RgbImage& image);
// Reads a PNG written by WritePng (8-bit RGB, stored blocks, no interlace). False otherwise.
bool ReadPng(const std::string& path, RgbImage* image);
