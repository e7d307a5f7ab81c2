#include "effects/frog_cubes.h"

#include "effects/effect_helpers.h"
#include "effects/effect_loading.h"
#include "gfx/gl.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <cmath>

Scene FrogScene;
Scene CubeScene;
static int32_t FrogStartTime = -1;

enum { kSkySlot = 3, kCubeFieldSide = 8 };

bool LoadFrogCubes() {
    static const char* const kFrogTextures[kFrogTextureCount] = {
        "white.tga", "black.tga", "green.tga", "sky01.tga", "green2.tga", "blue.tga",   "flare02.tga",
        "t_01.tga",  "t_02.tga",  "t_03.tga",  "t_04.tga",  "t_05.tga",   "t_06.tga"};
    static const char* const kCubeTextures[1] = {"gris.tga"};
    if (!LoadSceneEntry("frog.3DS", &FrogScene, kFrogTextureCount)) return false;
    if (!LoadSceneTextures(&FrogScene, kFrogTextures, kFrogTextureCount)) return false;
    if (!RequireMeshes(&FrogScene, kFrogMeshesNeeded, "frog.3DS")) return false;
    AssignFrogMaterials(&FrogScene);
    if (!LoadSceneEntry("cube.3DS", &CubeScene, 1)) return false;
    if (!LoadSceneTextures(&CubeScene, kCubeTextures, 1)) return false;
    return RequireMeshes(&CubeScene, 1, "cube.3DS");
}

void UnloadFrogCubes() {
    UnloadScene(&FrogScene);
    UnloadScene(&CubeScene);
}

void ResetFrogCubes() {
    FrogStartTime = -1;
    FrogScene.startFrame = -1;
}

void AssignFrogMaterials(Scene* scene) {
    // Body, eye whites, legs, pupils, pond and sky; everything else shows the sky's texture.
    static const int8_t kSlots[kFrogMeshesNeeded] = {2, 0, 0, 4, 4, 4, 4, 1, 1, 5, 3};
    for (int m = 0; m < scene->meshCount; ++m)
        scene->meshes[m].texture = m < kFrogMeshesNeeded ? kSlots[m] : (int8_t)kSkySlot;
}

// The seven tumbling cubes under their own fixed look-at, faded with the frog scene.
static void DrawCubeCluster(float s) {
    struct Placement {
        float x, y, z, ax, ay, az;
    };
    const float r = 12 * s;
    const Placement kCluster[7] = {{0, 0, 0, 0, 0, 0},    {-100, 0, 0, r, 0, 0}, {100, 0, 0, r, 0, 0},
                                   {0, -100, 0, 0, r, 0}, {0, 100, 0, 0, r, 0},  {0, 0, -100, 0, 0, r},
                                   {0, 0, 100, 0, 0, r}};
    glPushMatrix();
    gluLookAt(100, 0, 370, 200, 200, 0, 0, 45, 0);
    glBindTexture(GL_TEXTURE_2D, CubeScene.textures[0].textureId);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    BeginAdditiveBlend();
    glRotatef(s, 1, 0, 0);
    glRotatef(s, 0, 1, 0);
    glRotatef(s, 0, 0, 1);
    for (const Placement& p : kCluster) {
        glPushMatrix();
        DrawMesh(&CubeScene.meshes[0], p.x, p.y, p.z, p.ax, p.ay, p.az);
        glPopMatrix();
    }
    EndAdditiveBlend();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

// The 8 x 8 field waving on a cosine, seen from the orbiting camera. Its phase starts at 0 each
// frame and runs on across the rows, so only s moves the wave.
static void DrawCubeField(float s, float alpha) {
    glColor4f(1, 1, 1, alpha);
    gluLookAt(500 * cos(2 * s / 9), 180 * cos(s / 2) + 100, 300 * cos(s / 3), 0, 0, -500, 0, 45, 0);
    glBindTexture(GL_TEXTURE_2D, CubeScene.textures[0].textureId);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    BeginAdditiveBlend();
    float g = 0;
    for (int row = 0; row < kCubeFieldSide; ++row) {
        for (int column = 0; column < kCubeFieldSide; ++column) {
            float x = -440.0f + 110 * column, y = -440.0f + 110 * row;
            glPushMatrix();
            DrawMesh(&CubeScene.meshes[0], x, y, (float)(150 * cos(s + g) - 500), 10 * (s + g), 0, 0);
            glPopMatrix();
            g += 0.04f;
        }
    }
    EndAdditiveBlend();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

// Three captions before the cross-fade (while e >= 1), three after; each fades in over 250 ms.
static void DrawFrogCaptions(float s, float e) {
    const Texture* slots = FrogScene.textures;
    if (e >= 1) {
        DrawFadingQuad(-1.3f, 1, -2, s - 5, slots[7].textureId);
        DrawFadingQuad(1, -1, -2, s - 14, slots[12].textureId);
        DrawFadingQuad(0.9f, 1, -2, s - 12, slots[8].textureId);
    } else {
        DrawFadingQuad(-1.3f, 1, -2, s - 53, slots[9].textureId);
        DrawFadingQuad(-1.3f, -1, -2, s - 56, slots[10].textureId);
        DrawFadingQuad(1.3f, -1, -2, s - 58, slots[11].textureId);
    }
}

void DrawFrogCubes(int now) {
    if (FrogStartTime == -1) FrogStartTime = now;
    int32_t t = now - FrogStartTime;
    float s = (float)(t * 0.004);  // the tumble in degrees, 4 a second
    float h = s * 0.5f;
    float e = 23 - h;  // above 1 until 11 s, 0 at 11.5 s; the field fades in as h - 22
    glPushMatrix();
    glPushMatrix();
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, e);
    DrawScene((int)((unsigned)now / 3u), &FrogScene, false);
    glPopMatrix();
    glClear(GL_DEPTH_BUFFER_BIT);
    DrawCubeCluster(s);
    glClear(GL_DEPTH_BUFFER_BIT);
    DrawCubeField(s, h - 22);
    glPopMatrix();
    DrawFrogCaptions(s, e);
    // From the second frame on the cubes carry the sub texture's picture.
    glBindTexture(GL_TEXTURE_2D, CubeScene.textures[0].textureId);
    DrawSubTextureOverlay(1.0f);
}
