// A frame as GL reads it back (rows bottom to top) turned into an image (rows top to bottom),
// optionally shrunk by averaging each factor x factor block of pixels into one.
#pragma once

#include "lib/png.h"

#include <cstdint>

// `rows` holds width * height RGB pixels bottom row first; width and height are multiples of
// `factor`. The average is rounded to nearest, so the same frame always gives the same image.
void FrameFromGlRows(const uint8_t* rows, int width, int height, int factor, RgbImage* image);
