// TGA textures: uncompressed true-colour pictures uploaded with a full mipmap chain.
#pragma once

#include "gfx/texture.h"
#include "platform/msgbox.h"

bool LoadTGATexture(WindowHandle window, Texture* texture, const char* path);
