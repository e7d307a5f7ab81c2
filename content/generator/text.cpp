// Text set with FreeType.
#include "text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>

static FT_Library Library;
static FT_Face Faces[kFontCount];

bool OpenFonts(const std::string& fontFolder) {
    static const char* kFiles[kFontCount] = {"DejaVuSans-Bold.ttf", "DejaVuSansMono-Bold.ttf", "DejaVuSerif-Bold.ttf"};
    if (!Library && FT_Init_FreeType(&Library) != 0) {
        fprintf(stderr, "FreeType cannot start\n");
        return false;
    }
    for (int i = 0; i < kFontCount; i++) {
        if (Faces[i]) continue;
        std::string path = fontFolder + "/" + kFiles[i];
        if (FT_New_Face(Library, path.c_str(), 0, &Faces[i]) != 0) {
            fprintf(stderr, "cannot open the font %s (install fonts-dejavu-core)\n", path.c_str());
            Faces[i] = nullptr;
            return false;
        }
    }
    return true;
}

void CloseFonts() {
    for (FT_Face& face : Faces) {
        if (face) FT_Done_Face(face);
        face = nullptr;
    }
    if (Library) FT_Done_FreeType(Library);
    Library = nullptr;
}

TextMask MakeTextMask(int width, int height) {
    TextMask mask;
    mask.width = width;
    mask.height = height;
    mask.coverage.assign((size_t)width * height, 0.0f);
    return mask;
}

// Walks the glyphs of `text`; calls `visit` with each rendered glyph and its pen position.
template <typename Visit>
static int WalkText(FontFace face, const std::string& text, int pixelSize, Visit visit) {
    FT_Face f = Faces[face];
    if (!f) return 0;
    FT_Set_Pixel_Sizes(f, 0, (FT_UInt)pixelSize);
    int pen = 0;
    FT_UInt previous = 0;
    for (unsigned char c : text) {
        FT_UInt glyph = FT_Get_Char_Index(f, c);
        if (previous && glyph && FT_HAS_KERNING(f)) {
            FT_Vector kern;
            FT_Get_Kerning(f, previous, glyph, FT_KERNING_DEFAULT, &kern);
            pen += (int)(kern.x >> 6);
        }
        if (FT_Load_Glyph(f, glyph, FT_LOAD_RENDER) != 0) continue;
        visit(f->glyph, pen);
        pen += (int)(f->glyph->advance.x >> 6);
        previous = glyph;
    }
    return pen;
}

int MeasureText(FontFace face, const std::string& text, int pixelSize) {
    return WalkText(face, text, pixelSize, [](FT_GlyphSlot, int) {});
}

void MeasureInk(FontFace face, const std::string& text, int pixelSize, int* left, int* right) {
    *left = 1 << 30;
    *right = -(1 << 30);
    WalkText(face, text, pixelSize, [&](FT_GlyphSlot slot, int pen) {
        if (slot->bitmap.width == 0) return;
        *left = std::min(*left, pen + slot->bitmap_left);
        *right = std::max(*right, pen + slot->bitmap_left + (int)slot->bitmap.width);
    });
    if (*left > *right) *left = *right = 0;  // nothing inked (a space)
}

void DrawText(TextMask& mask, FontFace face, const std::string& text, int pixelSize, int x, int baseline) {
    WalkText(face, text, pixelSize, [&](FT_GlyphSlot slot, int pen) {
        const FT_Bitmap& bitmap = slot->bitmap;
        for (unsigned row = 0; row < bitmap.rows; row++) {
            int y = baseline + slot->bitmap_top - 1 - (int)row;  // bitmap rows run downwards
            if (y < 0 || y >= mask.height) continue;
            for (unsigned col = 0; col < bitmap.width; col++) {
                int px = x + pen + slot->bitmap_left + (int)col;
                if (px < 0 || px >= mask.width) continue;
                float value = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                float& cell = mask.coverage[(size_t)y * mask.width + px];
                if (value > cell) cell = value;
            }
        }
    });
}

void DrawTextCentred(TextMask& mask, FontFace face, const std::string& text, int pixelSize, int centreX,
                     int baseline) {
    DrawText(mask, face, text, pixelSize, centreX - MeasureText(face, text, pixelSize) / 2, baseline);
}

void PaintGlowingText(Picture& picture, const TextMask& mask, Colour core, Colour glow, int glowRadius) {
    Picture shape = MakePicture(mask.width, mask.height);
    for (size_t i = 0; i < mask.coverage.size(); i++) {
        float c = mask.coverage[i];
        shape.pixels[i] = {c, c, c};
    }
    Picture halo = glowRadius > 0 ? BlurPicture(shape, glowRadius, false) : MakePicture(mask.width, mask.height);
    for (size_t i = 0; i < picture.pixels.size(); i++) {
        float h = halo.pixels[i].r * 1.8f, c = mask.coverage[i];
        Colour lit = AddColour(picture.pixels[i], ScaleColour(glow, h));
        picture.pixels[i] = MixColour(lit, core, c);
    }
}
