// Every texture of the show that is not lettering, by entry name.
#include "generator.h"
#include "output.h"
#include "textures.h"

#include <cmath>

// A picture whose v runs from a dark underside to a lit top, for the frog's eyes and pupils.
static Picture Eyeball(Colour low, Colour high, Colour shine) { return MakeShadedFlat(128, low, high, shine); }

// The frog scene is seen through a 205-grey light added over the whole view: only colours
// below about a fifth of full brightness keep any shade through it, and the darkest stay grey.
static Picture Dimmed(Picture picture, float scale) {
    for (Colour& c : picture.pixels) c = ScaleColour(c, scale);
    return picture;
}

bool WriteTextures() {
    bool ok = true;
    auto emit = [&](const char* name, const Picture& picture) { ok = EmitPicture(name, picture) && ok; };
    // E1: opening scene
    emit("suelo1.tga", MakeFloorTiles(256, {0.36f, 0.33f, 0.44f}, {0.1f, 0.09f, 0.2f}, 11));
    emit("brick2.tga", MakeBricks(256, {0.62f, 0.26f, 0.16f}, {0.55f, 0.52f, 0.48f}, 12));
    emit("planet1.tga", MakePlanet(256, {0.85f, 0.55f, 0.3f}, {0.55f, 0.25f, 0.2f}, {0.95f, 0.85f, 0.7f}, 13));
    emit("blue_env.tga", MakeSphereEnv(256, {0.05f, 0.15f, 0.55f}, {0.55f, 0.75f, 1.0f}, {0.02f, 0.06f, 0.2f},
                                       {1.0f, 0.95f, 0.8f}, 14));
    emit("flare01.tga", MakeFlare(128, {1.0f, 0.95f, 0.8f}, {1.0f, 0.6f, 0.25f}, 0, 0));
    // E2: environment-mapped scene
    emit("sphere01.tga", MakeGridFloor(256, {0.1f, 0.12f, 0.2f}, {0.3f, 0.6f, 1.0f}, 21));
    emit("env_env.tga", MakeSphereEnv(256, {0.25f, 0.1f, 0.45f}, {1.0f, 0.6f, 0.35f}, {0.1f, 0.05f, 0.12f},
                                      {1.0f, 1.0f, 0.9f}, 22));
    emit("flare02.tga", MakeFlare(128, {0.9f, 0.95f, 1.0f}, {0.3f, 0.55f, 1.0f}, 4, 0.8f));
    // E3: title backdrop (also the sphere swirl of E8)
    emit("Txt2.tga", MakePlasma(256));
    // E4: frog and pond, cubes
    // Under the grey the sky and the pond stay near black, so the captions over them and the
    // frog read; the frog's skin reaches the top of the range, the eyes above it turn pure white.
    emit("white.tga", Eyeball({0.55f, 0.55f, 0.5f}, {1.0f, 1.0f, 0.95f}, {0.4f, 0.4f, 0.4f}));
    emit("black.tga", Eyeball({0.0f, 0.0f, 0.0f}, {0.08f, 0.06f, 0.04f}, {1.0f, 1.0f, 1.0f}));
    emit("green.tga", MakeSkin(256, {0.12f, 0.26f, 0.03f}, {0.03f, 0.07f, 0.01f}, {0.22f, 0.24f, 0.12f}, 41));
    emit("sky01.tga", Dimmed(MakeCloudSky(256, {0.15f, 0.35f, 0.8f}, {0.7f, 0.85f, 1.0f}, {1, 1, 1}, 0.45f, 42), 0.06f));
    emit("green2.tga", MakeSkin(128, {0.1f, 0.22f, 0.02f}, {0.02f, 0.05f, 0.01f}, {0.2f, 0.22f, 0.1f}, 43));
    emit("blue.tga", Dimmed(MakeWater(256, 44), 0.12f));
    // The cube texture is the overlay's grey itself: every frame after the first writes that grey
    // into its full-size level only, and a small window samples the smaller levels, so they must
    // show the same picture. Must stay 256 × 256.
    emit("gris.tga", MakePicture(256, 256, {205 / 255.0f, 205 / 255.0f, 205 / 255.0f}));
    // E5: tube ride
    emit("tubo.tga", MakeMetalPanels(256, {0.45f, 0.55f, 0.75f}, 4, 51));
    emit("muelle.tga", MakeRibbedPipe(128, {0.9f, 0.75f, 0.35f}, {1.0f, 1.0f, 0.8f}, 52));
    // E6: fog flight
    emit("08cielo.tga", MakeCloudSky(256, {0.3f, 0.5f, 0.9f}, {0.85f, 0.9f, 1.0f}, {1, 1, 1}, 0.55f, 61));
    emit("08tubo.tga", MakeRibbedPipe(256, {0.7f, 0.3f, 0.25f}, {1.0f, 0.9f, 0.5f}, 62));
    emit("08barrera.tga", MakeHazardStripes(128, {0.9f, 0.1f, 0.1f}, {0.95f, 0.95f, 0.95f}, 4, 63));
    emit("08barrera2.tga", MakeHazardStripes(128, {1.0f, 0.8f, 0.05f}, {0.08f, 0.08f, 0.08f}, 4, 64));
    emit("08barrera3.tga", MakeHazardStripes(128, {0.1f, 0.35f, 1.0f}, {0.95f, 0.95f, 0.95f}, 3, 65));
    emit("08suelo.tga", MakeFloorTiles(256, {0.45f, 0.42f, 0.38f}, {0.3f, 0.28f, 0.26f}, 66));
    // E7: raster bars
    emit("old_red.tga", MakeRasterBar({1.0f, 0.15f, 0.1f}));
    emit("old_green.tga", MakeRasterBar({0.15f, 1.0f, 0.2f}));
    emit("old_blue.tga", MakeRasterBar({0.15f, 0.35f, 1.0f}));
    return ok;
}
