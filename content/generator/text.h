// Text set with FreeType from the Debian DejaVu fonts, into coverage masks that the
// caption pictures colour and make glow.
#pragma once

#include "picture.h"

#include <string>
#include <vector>

enum FontFace { kFontSansBold, kFontMonoBold, kFontSerifBold, kFontCount };

// Opens the three faces from the DejaVu folder; false (with a message) when one is missing.
bool OpenFonts(const std::string& fontFolder);
void CloseFonts();

struct TextMask {
    int width = 0, height = 0;
    std::vector<float> coverage;  // 0..1, rows bottom first like Picture
};

TextMask MakeTextMask(int width, int height);
// Width in pixels of `text` set at `pixelSize` (the advance, kerning included).
int MeasureText(FontFace face, const std::string& text, int pixelSize);
// Horizontal extent of the inked pixels of `text` set with its pen at 0: [left, right).
void MeasureInk(FontFace face, const std::string& text, int pixelSize, int* left, int* right);
// Sets `text` with its pen starting at (x, baseline), baseline counted from the bottom row.
void DrawText(TextMask& mask, FontFace face, const std::string& text, int pixelSize, int x, int baseline);
// Sets `text` centred on x = centreX.
void DrawTextCentred(TextMask& mask, FontFace face, const std::string& text, int pixelSize, int centreX,
                     int baseline);

// Paints the mask onto the picture: a blurred glow of `glow` under a core of `core`.
void PaintGlowingText(Picture& picture, const TextMask& mask, Colour core, Colour glow, int glowRadius);
