// The show's lettering.
#include "captions.h"

#include "noise.h"
#include "output.h"
#include "text.h"
#include "textures.h"

#include <cmath>
#include <cstdio>

static bool TextMissing = false;  // a picture without its words fails the generator

static const std::vector<std::string>& Lines(const TextTable& texts, const std::string& key) {
    static const std::vector<std::string> none;
    auto found = texts.find(key);
    if (found != texts.end()) return found->second;
    fprintf(stderr, "texts.txt: no line for %s\n", key.c_str());
    TextMissing = true;
    return none;
}

// A 256 × 256 panel: the lines centred on black, as large as fits within `margin`, with a
// coloured glow of `glowRadius` (0: crisp white letters only).
static Picture CaptionPicture(const std::vector<std::string>& lines, Colour glow, int glowRadius, int margin,
                              int largest) {
    const int size = 256;
    int pixelSize = largest;
    for (const std::string& line : lines) {
        while (pixelSize > 12 && MeasureText(kFontSansBold, line, pixelSize) > size - 2 * margin) pixelSize--;
    }
    int pitch = pixelSize * 5 / 4, count = (int)lines.size();
    int top = size / 2 + (count * pitch) / 2 - pixelSize * 3 / 4;  // baseline of the first line
    TextMask mask = MakeTextMask(size, size);
    for (int i = 0; i < count; i++) DrawTextCentred(mask, kFontSansBold, lines[i], pixelSize, size / 2, top - i * pitch);
    Picture picture = MakePicture(size, size);
    PaintGlowingText(picture, mask, {1, 1, 1}, glow, glowRadius);
    return picture;
}

bool WriteCaptions(const TextTable& texts) {
    static const Colour kGlows[4] = {{0.2f, 0.5f, 1.0f}, {1.0f, 0.45f, 0.1f}, {0.3f, 0.9f, 0.4f}, {0.8f, 0.3f, 0.9f}};
    bool ok = true;
    for (int n = 1; n <= 19; n++) {
        if (n == 15) continue;  // the show never asks for a fifteenth caption
        char key[8];
        snprintf(key, sizeof key, "t_%02d", n);
        // The castle's panels: three of them hang 0.4 units past the left edge of the view.
        int margin = n >= 16 ? 56 : 22;
        // The tube's panels stack 0.3 to 0.6 units apart (a panel is 2 units, 256 pixels, tall).
        int largest = n >= 7 && n <= 11 ? 30 : 40;
        // The frog scene's six lie under a light grey that saturates every glow into the letters:
        // only large, crisp letters read there.
        bool underGrey = n <= 6;
        int glowRadius = underGrey ? 0 : 4;
        if (underGrey) {
            margin = 14;
            largest = 52;
        }
        Picture panel = CaptionPicture(Lines(texts, key), kGlows[n % 4], glowRadius, margin, largest);
        ok = EmitPicture(std::string(key) + ".tga", panel) && ok;
    }
    return ok && !TextMissing;
}

// Deep blue night with a nebula and stars: the ground of the loading picture.
static Picture NightBackdrop(int size) {
    Picture picture = ShadePicture(size, size, [](float u, float v) {
        float n = TiledFractal(u * 3, v * 3, 3, 6, 77);
        Colour c = MixColour({0.0f, 0.0f, 0.03f}, {0.05f, 0.02f, 0.14f}, v);
        c = AddColour(c, ScaleColour({0.25f, 0.1f, 0.4f}, SmoothStep(0.5f, 0.85f, n) * 0.8f));
        return c;
    });
    Scatter scatter = {2024};
    for (int i = 0; i < 260; i++) {
        int x = (int)(NextUnit(scatter) * size), y = (int)(NextUnit(scatter) * size);
        float b = 0.3f + 0.7f * NextUnit(scatter);
        Colour& p = PixelAt(picture, x, y);
        p = AddColour(p, {b, b, b * 1.1f});
    }
    return picture;
}

static Picture LoadingPicture(const std::vector<std::string>& lines) {
    const int size = 512;
    Picture picture = NightBackdrop(size);
    AddGlow(picture, size * 0.5f, size * 0.58f, size * 0.45f, {0.12f, 0.1f, 0.3f}, 2.0f);
    TextMask title = MakeTextMask(size, size);
    if (!lines.empty()) DrawTextCentred(title, kFontSerifBold, lines[0], 96, size / 2, 270);
    PaintGlowingText(picture, title, {1, 0.95f, 0.85f}, {1.0f, 0.5f, 0.15f}, 7);
    TextMask rest = MakeTextMask(size, size);
    for (size_t i = 1; i < lines.size(); i++) DrawTextCentred(rest, kFontSansBold, lines[i], 26, size / 2, 200 - 44 * (int)(i - 1));
    PaintGlowingText(picture, rest, {0.85f, 0.9f, 1}, {0.2f, 0.4f, 1.0f}, 3);
    return picture;
}

static Picture EndScroll(const std::vector<std::string>& lines) {
    const int width = 256, height = 1024, pitch = 34;
    TextMask mask = MakeTextMask(width, height);
    for (size_t i = 0; i < lines.size(); i++) {
        int size = i == 0 ? 34 : 22;
        while (size > 10 && MeasureText(kFontSansBold, lines[i], size) > width - 24) size--;
        DrawTextCentred(mask, kFontSansBold, lines[i], size, width / 2, height - 80 - pitch * (int)i);
    }
    Picture picture = MakePicture(width, height);
    PaintGlowingText(picture, mask, {1, 1, 1}, {0.3f, 0.5f, 1.0f}, 2);
    return picture;
}

// The crew logo: a ring emblem beside the crew's name.
static Picture CrewLogo(const std::vector<std::string>& lines) {
    const int width = 256, height = 128;
    Picture picture = MakePicture(width, height);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            float dx = x + 0.5f - 52, dy = y + 0.5f - 64, d = std::sqrt(dx * dx + dy * dy);
            float ring = std::exp(-std::pow((d - 30) / 4.0f, 2.0f)) + 0.5f * std::exp(-std::pow((d - 18) / 2.5f, 2.0f));
            float spokes = std::pow(std::fabs(std::cos(std::atan2(dy, dx) * 3)), 30.0f) * (d < 30 ? 1.0f : 0.0f);
            PixelAt(picture, x, y) = ScaleColour({0.3f, 0.7f, 1.0f}, ring + spokes * 0.6f);
        }
    }
    TextMask mask = MakeTextMask(width, height);
    if (lines.size() > 0) DrawTextCentred(mask, kFontSansBold, lines[0], 30, 166, 66);
    if (lines.size() > 1) DrawTextCentred(mask, kFontSansBold, lines[1], 16, 166, 40);
    PaintGlowingText(picture, mask, {1, 1, 1}, {0.3f, 0.6f, 1.0f}, 3);
    return picture;
}

// The title Effect stands its six letter squares, 2 units (128 pixels) wide, with their centres
// at these x; the sixth letter shows the second picture again. Both words end in that "a".
static const char* const kTitleLetters[5] = {"K", "a", "M", "o", "r"};
static const float kTitleCentres[6] = {-1.0f, 0.3f, 1.9f, 2.7f, 3.45f, 4.5f};
static const int kTitlePictureOf[6] = {0, 1, 2, 3, 4, 1};
static const int kTitleWords[2][2] = {{0, 1}, {2, 5}};  // first and last letter of each word
// The r's open right side looks wider apart than its ink: it counts a little narrower there.
static const float kTitleRightTrim[5] = {0, 0, 0, 0, 0.06f};  // of the letter size
static const int kTitleSize = 128, kTitleGlow = 4;
static const float kPixelsPerUnit = kTitleSize / 2.0f;

struct TitleLayout {
    bool fits = false;
    float gap = 0;                     // the ink gap between neighbours inside a word, units
    int inkLeft[5] = {}, inkRight[5] = {};
    float shift[5] = {};               // ink centre from the picture centre, units
};

// Places every glyph in its picture so that the ink gaps inside each word are all equal while
// the glyphs stay as close to their picture centres as they can (least squares). Walking a word
// from its last letter, the "a", leftwards, each shift is shift(a) + A - k × gap.
static TitleLayout LayOutTitle(int pixelSize) {
    TitleLayout layout;
    float half[5], along[5] = {}, gaps[5] = {};
    for (int p = 0; p < 5; p++) {
        MeasureInk(kFontSansBold, kTitleLetters[p], pixelSize, &layout.inkLeft[p], &layout.inkRight[p]);
        half[p] = (layout.inkRight[p] - layout.inkLeft[p]) / (2 * kPixelsPerUnit);
    }
    for (const auto& word : kTitleWords) {
        for (int i = word[1] - 1; i >= word[0]; i--) {
            int p = kTitlePictureOf[i], q = kTitlePictureOf[i + 1];
            float reachRight = half[p] - kTitleRightTrim[p] * pixelSize / kPixelsPerUnit;
            along[p] = along[q] + kTitleCentres[i + 1] - kTitleCentres[i] - half[q] - reachRight;
            gaps[p] = gaps[q] + 1;
        }
    }
    float sumA = 0, sumK = 0, sumKA = 0, sumKK = 0;
    for (int p = 0; p < 5; p++) {
        sumA += along[p];
        sumK += gaps[p];
        sumKA += gaps[p] * along[p];
        sumKK += gaps[p] * gaps[p];
    }
    float det = sumK * sumK - 5 * sumKK;
    float anchor = (sumA * sumKK - sumK * sumKA) / det;
    layout.gap = (sumK * sumA - 5 * sumKA) / det;
    layout.fits = layout.gap * kPixelsPerUnit >= 0.1f * pixelSize;  // a tenth of the size apart at least
    for (int p = 0; p < 5; p++) {
        layout.shift[p] = anchor + along[p] - gaps[p] * layout.gap;
        float reach = (std::fabs(layout.shift[p]) + half[p]) * kPixelsPerUnit + 3 * kTitleGlow;
        if (reach > kTitleSize / 2) layout.fits = false;
    }
    return layout;
}

// One letter in the common size and weight, its baseline shared so that the capitals stand
// centred on the square.
static Picture TitleLetter(const TitleLayout& layout, int p, int pixelSize) {
    int inkCentre = (layout.inkLeft[p] + layout.inkRight[p]) / 2;
    int pen = kTitleSize / 2 + (int)std::lround(layout.shift[p] * kPixelsPerUnit) - inkCentre;
    int baseline = kTitleSize / 2 - (int)std::lround(0.365f * pixelSize);  // half a cap height
    TextMask mask = MakeTextMask(kTitleSize, kTitleSize);
    DrawText(mask, kFontSansBold, kTitleLetters[p], pixelSize, pen, baseline);
    Picture picture = MakePicture(kTitleSize, kTitleSize);
    PaintGlowingText(picture, mask, {1, 0.97f, 0.9f}, {1.0f, 0.55f, 0.15f}, kTitleGlow);
    return picture;
}

static bool WriteTitleLetters() {
    int pixelSize = 96;
    TitleLayout layout = LayOutTitle(pixelSize);
    while (!layout.fits && pixelSize > 24) layout = LayOutTitle(--pixelSize);
    static const char* const kEntries[5] = {"k.tga", "a.tga", "m.tga", "o.tga", "r.tga"};
    bool ok = layout.fits;
    if (!ok) fprintf(stderr, "the title letters do not fit their squares\n");
    for (int p = 0; p < 5; p++) ok = EmitPicture(kEntries[p], TitleLetter(layout, p, pixelSize)) && ok;
    return ok;
}

bool WriteTitlePictures(const TextTable& texts) {
    bool ok = EmitPicture("load.tga", LoadingPicture(Lines(texts, "load")));
    ok = EmitPicture("scroll.tga", EndScroll(Lines(texts, "scroll"))) && ok;
    ok = EmitPicture("vardenix.tga", CrewLogo(Lines(texts, "logo"))) && ok;
    ok = WriteTitleLetters() && ok;
    return ok && !TextMissing;
}
