#include "effects/castle.h"

#include "effects/effect_helpers.h"
#include "effects/effect_random.h"
#include "effects/effect_loading.h"
#include "effects/opening_scene.h"
#include "effects/title_letters.h"
#include "gfx/gl.h"
#include "gfx/window.h"
#include "platform/msgbox.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <cmath>
#include <cstdlib>

Scene CastleScene;
Scene SphereScene;
static GLUquadric* SphereQuadric;  // lives until the process ends
static int32_t CastleStartTime = -1;

static const float kPanelBase[kCastlePanelCount][2] = {{-1, 1}, {-1.4f, 0.5f}, {-1.4f, 0}, {-1.4f, -0.5f}};

static bool CreateSphereQuadric() {
    if (SphereQuadric) return true;
    SphereQuadric = gluNewQuadric();
    if (!SphereQuadric) {
        ShowMessageBox(GLContext.window, "No memory for sphere quadric!", "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    gluQuadricNormals(SphereQuadric, GLU_SMOOTH);
    gluQuadricTexture(SphereQuadric, GL_TRUE);
    return true;
}

bool LoadCastle() {
    static const char* const kEntries[kCastleTextureCount] = {"blue_env.tga", "t_16.tga", "t_17.tga", "t_18.tga",
                                                              "t_19.tga"};
    if (!LoadSceneEntry("castle.3DS", &CastleScene, kCastleTextureCount)) return false;
    if (!LoadSceneEntry("sphere.3ds", &SphereScene, 0)) return false;
    if (!LoadSceneTextures(&CastleScene, kEntries, kCastleTextureCount)) return false;
    for (int m = 0; m < CastleScene.meshCount; ++m) CastleScene.meshes[m].texture = 0;
    if (!CreateSphereQuadric()) return false;
    // Global state: every later sphere-mapped Mesh of every Effect uses this mode.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    return true;
}

void UnloadCastle() {
    UnloadScene(&CastleScene);
    UnloadScene(&SphereScene);
}

void ResetCastle() {
    CastleStartTime = -1;
    CastleScene.startFrame = -1;
    SphereScene.startFrame = -1;
}

CastlePanelPlace CastlePanelAt(int panel, int r1, int r2) {
    return CastlePanelPlace{(float)(r2 % 5) * 0.033333335f + kPanelBase[panel][0],
                            (float)(r1 % 5) * 0.033333335f + kPanelBase[panel][1]};
}

// Six faint inside-out spheres around the eye, swirling on sine and cosine angles.
static void DrawSphereSwirl(float sec) {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
    BeginAdditiveBlend();
    glBindTexture(GL_TEXTURE_2D, TitleTextures[0].textureId);
    glColor4f(1, 1, 1, 0.3f);
    const double k = 1.3 * sec;
    float e = sec;
    for (int i = 0; i < 6; ++i) {
        glPushMatrix();
        glRotatef(30 * sinf(e + sec) + 110, 1, 0, 0);
        glRotatef((float)(70 * cos(e + k)), 0, 1, 0);
        glRotatef(45, 0, 1, 1);
        if (SphereQuadric) gluSphere(SphereQuadric, 100, 10, 10);
        glPopMatrix();
        e += 0.3f;
    }
    glClear(GL_DEPTH_BUFFER_BIT);
    EndAdditiveBlend();
    glDisable(GL_BLEND);
    glClear(GL_DEPTH_BUFFER_BIT);
}

// One panel a second from 1 s on, each taking two fresh random values per frame to shake.
static void DrawCaptionPanels(float sec) {
    for (int panel = 0; panel < kCastlePanelCount; ++panel) {
        if (sec < (float)(panel + 1)) continue;
        const int r1 = EffectRandom();
        const int r2 = EffectRandom();
        const CastlePanelPlace place = CastlePanelAt(panel, r1, r2);
        DrawFadingQuad(place.x, place.y, -1.5f, 1, CastleScene.textures[panel + 1].textureId);
    }
}

void DrawCastle(int now) {
    if (CastleStartTime == -1) CastleStartTime = now;
    const float sec = (float)(now - CastleStartTime) * 0.001f;
    DrawSphereSwirl(sec);
    DrawScene((int)((unsigned)now / 2), &CastleScene, true);
    DrawCaptionPanels(sec);
    // Black from 5 s to 6 s; below 5 s the negative alpha leaves the picture untouched.
    DrawFullVeil(0, 0, 0, sec - 5);
}
