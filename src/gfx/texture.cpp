#include "gfx/texture.h"

#include <cstdlib>

void FreeTexturePixels(Texture* texture) {
    free(texture->data);
    texture->data = nullptr;
}
