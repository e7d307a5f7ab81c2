// The title "Ka Mora" assembling letter by letter over a wave backdrop.
#pragma once

#include "gfx/texture.h"

enum { kTitleTextureCount = 6, kTitleLetterCount = 6 };

// Slot 0 the backdrop "Txt2.tga" (also the castle's sphere), slots 1-5 the letters K, a, M, o, r.
extern Texture TitleTextures[kTitleTextureCount];

bool LoadTitleLetters();
void DrawTitleLetters(int now);
void UnloadTitleLetters();
// Starts the animation again on the next frame, for a replay.
void ResetTitleLetters();

// Angle about Y (degrees, never above 0: the letter stops face-on) and unclamped alpha of
// letter 0..5 at `t` milliseconds into the Effect.
struct TitleLetterPose {
    float angle;
    float alpha;
};
TitleLetterPose TitleLetterAt(int letter, float t);
// Whether the white veil is drawn at `t` ms (it fades out over the first 333 ms), and its alpha.
bool TitleVeilShown(float t, float* alpha);
