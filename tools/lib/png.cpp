#include "lib/png.h"

#include "platform/files.h"

#include <csetjmp>
#include <cstdio>
#include <png.h>

// zlib level 1 with the Sub filter: a frame of the show shrinks to a fifth to a half of its raw
// size, several times faster than at libpng's default level.
static const int kCompressionLevel = 1;

// libpng reports an error by a long jump back here; nothing with a destructor lives in this frame.
static bool WriteRows(FILE* file, const RgbImage& image) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, kCompressionLevel);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, (png_uint_32)image.width, (png_uint_32)image.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    const size_t row = (size_t)image.width * 3;
    for (int y = 0; y < image.height; ++y) png_write_row(png, image.pixels.data() + y * row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool WritePng(const std::string& path, const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != (size_t)image.width * image.height * 3)
        return false;
    std::string temp = path + ".part";
    FILE* file = fopen(temp.c_str(), "wb");
    if (!file) return false;
    bool ok = WriteRows(file, image) && !ferror(file);
    ok = (fclose(file) == 0) && ok;
    if (ok) ok = MoveFileOver(temp.c_str(), path.c_str());
    if (!ok) remove(temp.c_str());
    return ok;
}

bool ReadPng(const std::string& path, RgbImage* image) {
    png_image png = {};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&png);
        return false;
    }
    image->width = (int)png.width;
    image->height = (int)png.height;
    image->pixels.swap(pixels);
    return true;
}
