#include "effects/fog_flight.h"

#include "effects/effect_helpers.h"
#include "effects/effect_loading.h"
#include "effects/tube.h"
#include "gfx/gl.h"
#include "render/scene_draw.h"

#include <cmath>

Scene FogScene;
static int32_t FogStartTime = -1;

enum { kSpareBarrierSlot = 2 };

bool LoadFogFlight() {
    static const char* const kTextures[kFogTextureCount] = {
        "08cielo.tga",  "08tubo.tga", "08barrera.tga", "08barrera2.tga", "08barrera3.tga",
        "08suelo.tga", "t_12.tga",   "t_13.tga",      "t_14.tga"};
    if (!LoadSceneEntry("fr08.3DS", &FogScene, kFogTextureCount)) return false;
    if (!LoadSceneTextures(&FogScene, kTextures, kFogTextureCount)) return false;
    if (!RequireMeshes(&FogScene, kFogMeshesNeeded, "fr08.3DS")) return false;
    AssignFogMaterials(&FogScene);
    return true;
}

void UnloadFogFlight() { UnloadScene(&FogScene); }

void ResetFogFlight() {
    FogStartTime = -1;
    FogScene.startFrame = -1;
}

void AssignFogMaterials(Scene* scene) {
    // Floor, sky, tube pieces around Mesh 3, then the barriers.
    static const int8_t kSlots[kFogMeshesNeeded] = {5, 0, 1, kSpareBarrierSlot, 1, 1, 1, 1, 1, 3, 3, 3,
                                                    3, 3, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3};
    for (int m = 0; m < scene->meshCount; ++m)
        scene->meshes[m].texture = m < kFogMeshesNeeded ? kSlots[m] : (int8_t)kSpareBarrierSlot;
}

// In eye space (the modelview is the identity here). No material is set: the specular colour
// and shininess the tube ride left in GL apply.
static void SetFogLightsAndFog() {
    const GLfloat light0[4] = {0, 0, 900, 65};
    const GLfloat light1[4] = {0, 0, 0, 65};
    const GLfloat ambient1[4] = {0.4f, 0.4f, 0.4f, 0};
    const GLfloat fogColour[4] = {1, 1, 1, 1};
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    glLightfv(GL_LIGHT0, GL_POSITION, light0);
    glLightfv(GL_LIGHT1, GL_POSITION, light1);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient1);
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogf(GL_FOG_DENSITY, 0.012f);
    glFogfv(GL_FOG_COLOR, fogColour);
    glEnable(GL_FOG);
}

// Visible from 4.2 s, opaque from 5.2 s; each bobs 1.046 s behind the one before.
static void DrawFogCaptions(float sec) {
    const Texture* slots = FogScene.textures;
    float alpha = sec - 4.2f;
    DrawFadingQuad(-1.4f, (float)(cos(-sec) - 1.5), -2, alpha, slots[6].textureId);
    DrawFadingQuad(-0.5f, (float)(cos(1.046 - sec) - 1.5), -2, alpha, slots[7].textureId);
    DrawFadingQuad(1, (float)(cos(2.092 - sec) - 1.5), -2, alpha, slots[8].textureId);
}

void DrawFogFlight(int now) {
    if (FogStartTime == -1) FogStartTime = now;
    float sec = (float)((now - FogStartTime) * 0.001);
    SetFogLightsAndFog();
    DrawScene((int)((unsigned)now * 0.2857142857142857), &FogScene, true);
    // Only the scene is fogged and lit: the haze, captions and flash are not.
    glDisable(GL_FOG);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    DrawHaze();
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    DrawFogCaptions(sec);
    DrawStartFlash(FogStartTime, now);
}
