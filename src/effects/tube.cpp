#include "effects/tube.h"

#include "effects/effect_helpers.h"
#include "effects/effect_loading.h"
#include "effects/frog_cubes.h"
#include "effects/opening_scene.h"
#include "gfx/gl.h"
#include "host/demo.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <cmath>

Scene TubeScene;
static int32_t TubeStartTime = -1;

bool LoadTube() {
    static const char* const kTextures[kTubeTextureCount] = {"tubo.tga",  "muelle.tga", "t_07.tga", "t_08.tga",
                                                             "t_09.tga", "t_10.tga",   "t_11.tga"};
    if (!LoadSceneEntry("tubo.3DS", &TubeScene, kTubeTextureCount)) return false;
    if (!LoadSceneTextures(&TubeScene, kTextures, kTubeTextureCount)) return false;
    AssignTubeMaterials(&TubeScene);
    return true;
}

void UnloadTube() { UnloadScene(&TubeScene); }

void ResetTube() {
    TubeStartTime = -1;
    TubeScene.startFrame = -1;
}

void AssignTubeMaterials(Scene* scene) {
    for (int m = 0; m < scene->meshCount; ++m) scene->meshes[m].texture = m == 0 ? 0 : 1;
}

float TubeLightHeight(float sec) { return (float)(200 * cosf(2 * sec) - 326.8873); }

// Set under the identity modelview left by the frame, so both lights are fixed in eye space. The
// specular colour and shininess stay set for the fog flight that follows.
static void SetTubeLights(float sec) {
    const GLfloat light0[4] = {0, TubeLightHeight(sec), 0, 65};
    const GLfloat light1[4] = {8.8859f, 242.6917f, -11.3864f, 65};
    const GLfloat ambient1[4] = {0.2f, 0.4f, 0.2f, 0};
    const GLfloat specular[4] = {1, 1, 1, 0};
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glLightfv(GL_LIGHT0, GL_POSITION, light0);
    glLightfv(GL_LIGHT1, GL_POSITION, light1);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient1);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50);
}

void DrawHaze() {
    glEnable(GL_BLEND);
    glPushMatrix();
    glColor4f(1, 1, 1, 0.1f);
    glScalef(5, 2, 2);
    DrawMesh(&ScreenQuad, 0, 0, -1.5f, 180, 0, 0);
    glPopMatrix();
}

void DrawStartFlash(int32_t startTime, int now) {
    float sec = (float)((now - startTime) * 0.001);
    if (sec < 1) DrawFullVeil(1, 1, 1, 1 - sec);
}

static void DrawTubeCaptions(float sec) {
    const Texture* slots = TubeScene.textures;
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    DrawFadingQuad(-1.3f, 1, -2, sec - 3, FrogScene.textures[7].textureId);
    DrawFadingQuad(1.3f, 0.6f, -2, sec - 6, slots[2].textureId);
    DrawFadingQuad(1.3f, 0.2f, -2, sec - 8, slots[3].textureId);
    DrawFadingQuad(1.3f, -0.4f, -2, sec - 10, slots[4].textureId);
    DrawFadingQuad(1.3f, -0.9f, -2, sec - 12, slots[5].textureId);
    DrawFadingQuad(1.3f, -1.2f, -2, sec - 14, slots[6].textureId);
}

void DrawTube(int now) {
    if (TubeStartTime == -1) TubeStartTime = now;
    float sec = (float)((now - TubeStartTime) * 0.001);
    SetTubeLights(sec);
    glPushMatrix();
    DrawScene((int)((unsigned)now * 0.2857142857142857), &TubeScene, false);
    glPushMatrix();
    DrawMeshWire(&ScreenQuad, 0, 0, 100, 0, 0, 0);
    glPopMatrix();
    glPopMatrix();
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    DrawHaze();
    DrawTubeCaptions(sec);
    DrawStartFlash(TubeStartTime, now);
}
