#include "effects/title_letters.h"

#include "effects/effect_loading.h"
#include "effects/env_flares.h"
#include "effects/opening_scene.h"
#include "gfx/gl.h"
#include "host/demo.h"
#include "render/mesh_draw.h"

Texture TitleTextures[kTitleTextureCount];
static int32_t TitleStartTime = -1;

struct TitleLetter {
    int slot;
    float x, y;
    float turnRate, turnFrom;  // angle = turnRate * t - turnFrom, held at 0
    float appearAt;            // alpha = t / 1000 - appearAt
};

// "Ka Mora": the wider gap after the second letter is the word space; the last letter reuses
// the texture of the second.
static const TitleLetter kLetters[kTitleLetterCount] = {
    {1, -1.0f, 0, 0.08f, 90, 0.3f},  {2, 0.3f, 0, 0.06f, 90, 0.5f},  {3, 1.9f, 0, 0.08f, 90, 0.7f},
    {4, 2.7f, 0, 0.03f, 90, 0.9f},   {5, 3.45f, 0, 0.08f, 160, 1.1f}, {2, 4.5f, -0.09f, 0.05f, 160, 1.3f},
};
static const float kLetterZ = -4.5f;
enum { kWireMeshes = 7 };

bool LoadTitleLetters() {
    static const char* const kEntries[kTitleTextureCount] = {"Txt2.tga", "k.tga", "a.tga",
                                                             "m.tga",    "o.tga", "r.tga"};
    for (int slot = 0; slot < kTitleTextureCount; ++slot)
        if (!LoadTextureEntry(kEntries[slot], &TitleTextures[slot])) return false;
    return true;
}

void UnloadTitleLetters() {
    for (Texture& texture : TitleTextures) FreeTexturePixels(&texture);
}

void ResetTitleLetters() { TitleStartTime = -1; }

TitleLetterPose TitleLetterAt(int letter, float t) {
    const TitleLetter& l = kLetters[letter];
    float angle = l.turnRate * t - l.turnFrom;
    float alpha = t / 1000 - l.appearAt;
    return TitleLetterPose{angle > 0 ? 0.0f : angle, alpha};
}

bool TitleVeilShown(float t, float* alpha) {
    float fade = t * 0.003f;
    *alpha = 1 - fade;
    return fade < 1;
}

// The slowly turning wave sheet in three copies and the backdrop square, additively.
static void DrawTitleBackdrop(float u) {
    glColor4f(1, 1, 1, 0.3f);
    BuildWaveMesh((u + 1) * 20, 30);
    glBindTexture(GL_TEXTURE_2D, TitleTextures[0].textureId);
    const float turns[3] = {u * 40, (u + 2.1f) * 100, 0};
    for (float turn : turns) {
        glPushMatrix();
        glScalef(2, 2, 2);
        DrawMesh(&WaveMesh, 0, 0, -80, 180, 0, turn);
        glPopMatrix();
    }
    glPushMatrix();
    glScalef(5, 2, 2);
    DrawMesh(&ScreenQuad, 0, 0, -1.5f, 180, 0, 0);
    glPopMatrix();
}

// A faint spinning wireframe of the environment-mapped scene behind the letters.
static void DrawTitleWireframe(float u) {
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 0.18f);
    for (int m = 0; m < kWireMeshes && m < EnvScene.meshCount; ++m) {
        glPushMatrix();
        glScalef(0.1f, 0.1f, 0.1f);
        DrawMeshWire(&EnvScene.meshes[m], -500, 0, -400, 45, u * 500, 45);
        glPopMatrix();
    }
}

static void DrawTitleWord(float t) {
    glEnable(GL_TEXTURE_2D);
    for (int i = 0; i < kTitleLetterCount; ++i) {
        const TitleLetterPose pose = TitleLetterAt(i, t);
        glBindTexture(GL_TEXTURE_2D, TitleTextures[kLetters[i].slot].textureId);
        glPushMatrix();
        glColor4f(1, 1, 1, pose.alpha);
        DrawMesh(&ScreenQuad, kLetters[i].x, kLetters[i].y, kLetterZ, 0, pose.angle, 0);
        glPopMatrix();
    }
}

static void DrawSweepingFlare(float u) {
    glBindTexture(GL_TEXTURE_2D, FlareTexture.textureId);
    glPushMatrix();
    glColor4f(1, 1, 1, 1);
    glScalef(5, 5, 5);
    DrawMesh(&ScreenQuad, u * 8 - 0.2f, 0, -1, 0, 0, u * 1200);
    glPopMatrix();
}

void DrawTitleLetters(int now) {
    if (TitleStartTime == -1) TitleStartTime = now;
    const float t = (float)(now > TitleStartTime ? now - TitleStartTime : 0);
    const float u = t * 0.0001f;
    glEnable(GL_TEXTURE_2D);
    BeginAdditiveBlend();
    DrawTitleBackdrop(u);
    DrawTitleWireframe(u);
    DrawTitleWord(t);
    DrawSweepingFlare(u);
    EndAdditiveBlend();
    glDisable(GL_TEXTURE_2D);
    float veilAlpha;
    if (TitleVeilShown(t, &veilAlpha)) DrawFullVeil(1, 1, 1, veilAlpha);
}
