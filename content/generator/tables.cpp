// The two raw colour tables: the sine scroller's pixel line and the waving grid's picture.
#include "generator.h"
#include "noise.h"
#include "output.h"
#include "text.h"
#include "textures.h"

#include <cmath>

static Colour Rainbow(float t) {
    const float k = 6.2831853f;
    return {0.55f + 0.45f * std::cos(k * t), 0.55f + 0.45f * std::cos(k * (t - 0.33f)), 0.55f + 0.45f * std::cos(k * (t - 0.67f))};
}

// 12 rows × 256 pixels, row 0 lowest: the line set in crisp pixels, coloured along its length.
static Picture ScrollerLine(const std::string& line) {
    const int width = 256, height = 12;
    int pixelSize = 12;
    while (pixelSize > 6 && MeasureText(kFontMonoBold, line, pixelSize) > width - 4) pixelSize--;
    TextMask mask = MakeTextMask(width, height);
    DrawTextCentred(mask, kFontMonoBold, line, pixelSize, width / 2, 2);
    Picture picture = MakePicture(width, height);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            if (mask.coverage[(size_t)y * width + x] < 0.45f) continue;  // hard pixels, no smoothing
            Colour c = Rainbow(x / 96.0f);
            PixelAt(picture, x, y) = ScaleColour(c, 0.55f + 0.45f * y / (height - 1));
        }
    }
    return picture;
}

// 100 × 100: a ringed planet over a starfield, shapes broad enough to survive taking
// every second pixel.
static Picture RingedPlanet() {
    const int size = 100;
    Picture picture = ShadePicture(size, size, [](float u, float v) {
        float dx = u - 0.5f, dy = v - 0.5f;
        float back = std::exp(-(dx * dx + dy * dy) * 5);
        Colour c = ScaleColour({0.2f, 0.05f, 0.35f}, back);
        // the ring: an ellipse tilted a little, behind and in front of the planet
        float rx = dx * 0.97f + dy * 0.26f, ry = -dx * 0.26f + dy * 0.97f;
        float e = std::sqrt(rx * rx + (ry * 3.2f) * (ry * 3.2f));
        float ring = SmoothStep(0.3f, 0.33f, e) * (1 - SmoothStep(0.43f, 0.46f, e));
        float pr = std::sqrt(dx * dx + dy * dy);
        bool front = ry < 0;
        if (ring > 0 && !front) c = MixColour(c, {0.9f, 0.75f, 0.5f}, ring);
        if (pr < 0.27f) {
            float band = 0.5f + 0.5f * std::sin((dy * 18 + TiledFractal(u * 4, v * 4, 4, 3, 9) * 2));
            Colour body = MixColour({0.95f, 0.5f, 0.15f}, {1.0f, 0.85f, 0.5f}, band);
            float lit = Clamp01(0.25f + 1.1f * (0.6f - (pr / 0.27f) * 0.6f + (-dx + dy) * 1.4f));
            c = ScaleColour(body, lit * (1 - SmoothStep(0.25f, 0.27f, pr)) + 0.02f);
        }
        if (ring > 0 && front) c = MixColour(c, {1.0f, 0.85f, 0.6f}, ring);
        return c;
    });
    Scatter scatter = {99};
    for (int i = 0; i < 40; i++) {
        int x = (int)(NextUnit(scatter) * 50) * 2, y = (int)(NextUnit(scatter) * 50) * 2;  // on shown pixels
        Colour& p = PixelAt(picture, x, y);
        if (p.r + p.g + p.b < 0.4f) p = {0.9f, 0.9f, 1.0f};
    }
    return picture;
}

bool WriteTables(const TextTable& texts) {
    auto found = texts.find("scroller");
    std::string line = found != texts.end() && !found->second.empty() ? found->second[0] : "KA MORA";
    bool ok = EmitBytes("sinscrol.raw", PictureBytes(ScrollerLine(line)));
    return EmitBytes("ese.raw", PictureBytes(RingedPlanet())) && ok;
}
