// TGA textures: uncompressed true-colour pictures uploaded with a full mipmap chain.
#pragma once

#include "gfx/texture.h"
#include "platform/msgbox.h"

// Reads `path` into `texture` (width, height, bitsPerPixel and an RGB or RGBA pixel buffer),
// without touching GL. On failure it shows the "TGA Loader" box and leaves `data` empty.
bool DecodeTGAFile(WindowHandle window, Texture* texture, const char* path);

// Makes the GL texture object of a decoded picture (bound to GL_TEXTURE_2D afterwards):
// linear magnification, nearest-mipmap linear minification, the full mipmap chain.
// 32-bit pictures keep their alpha.
void UploadTGATexture(Texture* texture);

// DecodeTGAFile followed by UploadTGATexture.
bool LoadTGATexture(WindowHandle window, Texture* texture, const char* path);
