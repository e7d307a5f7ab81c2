#include "effects/opening_scene.h"

#include "effects/effect_helpers.h"
#include "effects/effect_loading.h"
#include "effects/particles.h"
#include "gfx/gl.h"
#include "gfx/window.h"
#include "host/demo.h"
#include "platform/msgbox.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

Scene Scn1Scene;
Scene LogoScene;
Texture FlareTexture;
Texture ScrollTexture;
Mesh WaveMesh;

enum { kWaveRows = 10, kWaveColumns = 13, kFlareCount = 250, kScn1Meshes = 6 };
static Vec3 WaveGrid[kWaveRows][kWaveColumns];

static bool CreateSubTexture() {
    const size_t size = kSubTextureSize * kSubTextureSize * 3;
    SubTexture.data = (uint8_t*)malloc(size);
    if (!SubTexture.data) {
        ShowMessageBox(GLContext.window, "No memory for sub texture!", "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    memset(SubTexture.data, 205, size);  // a uniform light grey that nothing draws into
    SubTexture.bitsPerPixel = 24;
    SubTexture.width = SubTexture.height = kSubTextureSize;
    GLuint name = 0;
    glGenTextures(1, &name);
    SubTexture.textureId = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, kSubTextureSize, kSubTextureSize, GL_RGB, GL_UNSIGNED_BYTE, SubTexture.data);
    glBindTexture(GL_TEXTURE_2D, name);
    return true;
}

static void SetScn1Attributes() {
    static const int8_t kTextures[kScn1Meshes] = {0, 2, 2, 3, 2, 2};  // texture 1 goes to no Mesh
    for (int m = 0; m < Scn1Scene.meshCount; ++m)
        Scn1Scene.meshes[m].texture = m < kScn1Meshes ? kTextures[m] : (int8_t)kNoTexture;  // extra Meshes untextured
    Mesh& glass = Scn1Scene.meshes[3];  // the translucent, environment-mapped one
    glass.cullFace = 1;
    glass.faded = 1;
    glass.alpha = 0.45f;
    glass.visible = 1;
    glass.envMap = 1;
}

bool LoadOpeningScene() {
    static const char* const kTextures[4] = {"suelo1.tga", "brick2.tga", "planet1.tga", "blue_env.tga"};
    if (!LoadSceneEntry("scn1.3ds", &Scn1Scene, 4)) return false;
    if (!LoadSceneTextures(&Scn1Scene, kTextures, 4)) return false;
    if (!LoadTextureEntry("flare01.tga", &FlareTexture)) return false;
    if (!LoadTextureEntry("scroll.tga", &ScrollTexture)) return false;
    if (!RequireMeshes(&Scn1Scene, kScn1Meshes, "scn1.3ds")) return false;
    SetScn1Attributes();
    InitParticles();
    return CreateSubTexture();
}

bool LoadLogoScene() {
    if (!LoadSceneEntry("flipe01.3DS", &LogoScene, 1)) return false;
    if (!LoadTextureEntry("vardenix.tga", &LogoScene.textures[0])) return false;
    for (int m = 0; m < LogoScene.meshCount; ++m) {
        Mesh& mesh = LogoScene.meshes[m];
        mesh.texture = 0;
        mesh.faded = 0;
        mesh.additive = 1;
        mesh.cullFace = 1;
    }
    return true;
}

void UnloadOpeningScene() {
    UnloadScene(&Scn1Scene);
    FreeTexturePixels(&FlareTexture);
    FreeTexturePixels(&ScrollTexture);
    FreeTexturePixels(&SubTexture);
}

void UnloadLogoScene() { UnloadScene(&LogoScene); }

void ResetOpeningScene() {
    Scn1Scene.startFrame = -1;
    LogoScene.startFrame = -1;
}

void BuildWaveMesh(float phase, int amplitude) {
    float rowAngle = phase;
    for (int r = 0; r < kWaveRows; ++r) {
        float columnAngle = phase;
        for (int j = 0; j < kWaveColumns; ++j) {
            WaveGrid[r][j] = Vec3{-100.0f + 20 * j, -100.0f + 20 * r,
                                  (float)(amplitude * (sin(rowAngle) + cos(columnAngle)))};
            columnAngle += 1.256f;
        }
        rowAngle += 1.043f;
    }
    WaveMesh.faceCount = (kWaveRows - 1) * (kWaveColumns - 1) * 2;
    Face* face = WaveMesh.faces;
    float v = 0;
    for (int r = 0; r + 1 < kWaveRows; ++r) {
        float u = 0;
        for (int j = 0; j + 1 < kWaveColumns; ++j) {
            const Vec3 &a = WaveGrid[r][j], &b = WaveGrid[r + 1][j];
            const Vec3 &c = WaveGrid[r + 1][j + 1], &d = WaveGrid[r][j + 1];
            const float u1 = u + 0.3f, v1 = v + 0.3f;
            *face++ = Face{3, {{a.x, a.y, a.z, u, v}, {b.x, b.y, b.z, u, v1}, {c.x, c.y, c.z, u1, v1}}};
            *face++ = Face{3, {{c.x, c.y, c.z, u1, v1}, {d.x, d.y, d.z, u1, v}, {a.x, a.y, a.z, u, v}}};
            u += 0.3f;
        }
        v += 0.3f;
    }
}

OpeningMoment OpeningSceneMoment(unsigned now) {
    OpeningMoment m;
    m.s = (float)(now * 0.0001);
    m.k = 3 * m.s;
    m.sceneShown = m.k < 6.8;
    m.logoShown = m.k >= 6.2;
    m.logoAlpha = m.k >= 7 ? (float)(8.2 - m.k) : (float)(m.k - 6.2);
    m.veilAlpha = (float)(m.k - 5.8);
    return m;
}

Vec3 OpeningFlarePosition(float s, float d) {
    double r = cos(4 * d) * 10 + 20;
    float a = s + d;
    return Vec3{(float)(r * cos((double)s + d) - 7), (float)(r * sin(a)), (float)(5 * sin(8 * a))};
}

// 250 additive flares circling the scene's middle, each turned toward the eye.
static void DrawOpeningFlareRing(float s) {
    glBindTexture(GL_TEXTURE_2D, FlareTexture.textureId);
    float d = 0;
    for (int i = 0; i < kFlareCount; ++i) {
        glPushMatrix();
        glScalef(2, 2, 2);
        Vec3 p = OpeningFlarePosition(s, d);
        Vec3 n = EnvNormal(p, CameraEye);
        DrawMesh(&ScreenQuad, p.x, p.y, p.z, 87 * n.x + 87 * n.z, -87 * n.y, 8 * s);
        glPopMatrix();
        d += 0.1828f;
    }
}

static void DrawOpeningWorld(unsigned now, float s) {
    DrawScene((int)(now / 7), &Scn1Scene, false);
    glEnable(GL_TEXTURE_2D);
    BeginAdditiveBlend();
    glScalef(2, 2, 2);
    DrawOpeningFlareRing(s);
    BuildWaveMesh((float)(50 * cos(s)), 20);
    glBindTexture(GL_TEXTURE_2D, Scn1Scene.textures[3].textureId);
    glPushMatrix();
    glScalef(0.15f, 0.15f, 0.15f);
    DrawMesh(&WaveMesh, 0, 0, 0, 8 * s, (float)(6 * cos(s)), 2 * s);
    glPopMatrix();
    EndAdditiveBlend();
    glDisable(GL_TEXTURE_2D);
}

// Flat colour at z = -3: with scale (5, 5) it covers the whole view, with (5, 2) a band across it.
static void DrawFlatQuad(float r, float g, float b, float alpha, float scaleY) {
    glEnable(GL_BLEND);
    glPushMatrix();
    glColor4f(r, g, b, alpha);
    glScalef(5, scaleY, 2);
    DrawMesh(&ScreenQuad, 0, 0, -1.5f, 180, 0, 0);
    glPopMatrix();
    glDisable(GL_BLEND);
}

void DrawFullVeil(float r, float g, float b, float alpha) { DrawFlatQuad(r, g, b, alpha, 5); }

void DrawWhiteBand() { DrawFlatQuad(1, 1, 1, 0.2f, 2); }

void DrawOpeningScene(int now) {
    const OpeningMoment m = OpeningSceneMoment((unsigned)now);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, (float)(6.8 - 3.0 * m.s));
    glPushMatrix();
    if (m.sceneShown) DrawOpeningWorld((unsigned)now, m.s);
    glClear(GL_DEPTH_BUFFER_BIT);
    glPopMatrix();
    DrawFullVeil(0, 0, 0, m.veilAlpha);
    glClear(GL_DEPTH_BUFFER_BIT);
    if (m.logoShown) {
        glColor4f(1, 1, 1, m.logoAlpha);
        DrawScene((int)((unsigned)now / 3), &LogoScene, true);
    }
    DrawWhiteBand();
}
