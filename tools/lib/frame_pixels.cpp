#include "lib/frame_pixels.h"

#include <algorithm>
#include <vector>

void FrameFromGlRows(const uint8_t* rows, int width, int height, int factor, RgbImage* image) {
    image->width = width / factor;
    image->height = height / factor;
    image->pixels.resize((size_t)image->width * image->height * 3);
    const size_t row = (size_t)width * 3;
    if (factor == 1) {
        for (int y = 0; y < height; ++y)
            std::copy(rows + (size_t)(height - 1 - y) * row, rows + (size_t)(height - y) * row,
                      image->pixels.begin() + y * row);
        return;
    }
    const unsigned area = (unsigned)(factor * factor);
    std::vector<unsigned> sums((size_t)image->width * 3);
    for (int y = 0; y < image->height; ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (int dy = 0; dy < factor; ++dy) {  // GL's bottom row is the image's last
            const uint8_t* source = rows + (size_t)(height - 1 - (y * factor + dy)) * row;
            for (int x = 0; x < image->width * factor; ++x)
                for (int c = 0; c < 3; ++c) sums[(x / factor) * 3 + c] += source[x * 3 + c];
        }
        uint8_t* out = image->pixels.data() + (size_t)y * image->width * 3;
        for (size_t i = 0; i < sums.size(); ++i) out[i] = (uint8_t)((sums[i] + area / 2) / area);
    }
}
