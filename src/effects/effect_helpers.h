// Drawing helpers several Effects share, and the sub texture one of them lays over the frame.
#pragma once

#include "gfx/texture.h"

enum { kSubTextureSize = 256 };  // SubTexture is kSubTextureSize squared RGB pixels

// 256 x 256 RGB pixels with the texture object made from them; the opening scene's loader
// creates both and its unloader frees the pixels. Empty (no pixels) until then.
extern Texture SubTexture;

// An additively blended ScreenQuad at (x, y, z) with the texture and opacity given; the alpha
// goes to GL unclamped. Leaves texturing off, the colour opaque white and blending off.
void DrawFadingQuad(float x, float y, float z, float alpha, unsigned texture);

// Copies the SubTexture pixels into the bound texture (which keeps them) and lays it additively
// over the whole 4:3 picture. GL_TEXTURE_2D is left as found; the depth buffer is cleared.
void DrawSubTextureOverlay(float alpha);
