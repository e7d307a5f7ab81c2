#include "gfx/tga.h"

#include "gfx/gl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

// No image ID, no colour map, image type 2 (uncompressed true-colour), colour-map spec and
// origin all zero.
static const unsigned char TGAHeaderPattern[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};

static bool FailTGA(WindowHandle window, const char* path, const char* reason, FILE* file) {
    char text[1400];
    snprintf(text, sizeof text, "Error loading %s\n%s", path, reason);
    if (file) fclose(file);
    ShowMessageBox(window, text, "TGA Loader", MB_OK | MB_ICONERROR);
    return false;
}

// Bytes left between the current position and the end of the file.
static long RemainingBytes(FILE* file) {
    long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0) return -1;
    long end = ftell(file);
    if (fseek(file, here, SEEK_SET) != 0) return -1;
    return end - here;
}

bool DecodeTGAFile(WindowHandle window, Texture* texture, const char* path) {
    texture->data = nullptr;
    FILE* file = fopen(path, "rb");
    if (!file) return FailTGA(window, path, "Unable to open (NULL)", nullptr);

    unsigned char header[12], info[6];
    if (fread(header, 1, sizeof header, file) != sizeof header ||
        memcmp(header, TGAHeaderPattern, sizeof header) != 0 ||
        fread(info, 1, sizeof info, file) != sizeof info)
        return FailTGA(window, path, "Bad header or not tga file", file);

    texture->width = info[0] + 256u * info[1];
    texture->height = info[2] + 256u * info[3];
    const unsigned bits = info[4];  // info[5], the image descriptor, is ignored: no flipping
    if (texture->width == 0 || texture->height == 0 || (bits != 24 && bits != 32))
        return FailTGA(window, path, "File must be 24 bpp (is 32 bpp)", file);
    texture->bitsPerPixel = bits;

    // A header promising more than the file holds fails before anything is allocated.
    const size_t step = bits / 8;
    const size_t size = (size_t)texture->width * texture->height * step;
    const long remaining = RemainingBytes(file);
    if (remaining >= 0 && (size_t)remaining >= size) texture->data = (uint8_t*)malloc(size);
    if (!texture->data || fread(texture->data, 1, size, file) != size) {
        FreeTexturePixels(texture);
        return FailTGA(window, path, "No memory avaliable or data read error", file);
    }
    for (size_t i = 0; i + 2 < size; i += step) {
        uint8_t blue = texture->data[i];
        texture->data[i] = texture->data[i + 2];
        texture->data[i + 2] = blue;
    }
    fclose(file);
    return true;
}

void UploadTGATexture(Texture* texture) {
    GLuint name = 0;
    glGenTextures(1, &name);
    texture->textureId = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    // Rows are packed tightly; GL's default 4-byte row alignment would read past the buffer
    // for 24-bit pictures whose row length is not a multiple of 4.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const bool rgba = texture->bitsPerPixel == 32;
    gluBuild2DMipmaps(GL_TEXTURE_2D, rgba ? 4 : 3, (GLint)texture->width, (GLint)texture->height,
                      rgba ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, texture->data);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

bool LoadTGATexture(WindowHandle window, Texture* texture, const char* path) {
    if (!DecodeTGAFile(window, texture, path)) return false;
    UploadTGATexture(texture);
    return true;
}
