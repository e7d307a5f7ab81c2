#include "effects/env_flares.h"

#include "effects/effect_loading.h"
#include "effects/opening_scene.h"
#include "effects/particles.h"
#include "gfx/gl.h"
#include "host/demo.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <cmath>

Scene EnvScene;
float EnvFade = 0.0f;

enum { kEnvMappedMeshes = 7, kFlareCount = 500 };

bool LoadEnvFlares() {
    static const char* const kTextures[3] = {"sphere01.tga", "env_env.tga", "flare02.tga"};
    if (!LoadSceneEntry("flipe_env.3ds", &EnvScene, 3)) return false;
    if (!LoadSceneTextures(&EnvScene, kTextures, 3)) return false;
    if (!RequireMeshes(&EnvScene, kEnvMappedMeshes, "flipe_env.3ds")) return false;
    for (int m = 0; m < EnvScene.meshCount; ++m) EnvScene.meshes[m].texture = 0;
    for (int m = 0; m < kEnvMappedMeshes; ++m) {
        Mesh& mesh = EnvScene.meshes[m];
        mesh.texture = 1;
        mesh.envMap = 1;
        mesh.visible = 1;
    }
    // Every environment-mapped Mesh of the show relies on this mode, set before the first frame.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    return true;
}

void UnloadEnvFlares() { UnloadScene(&EnvScene); }

void ResetEnvFlares() {
    EnvScene.startFrame = -1;
    EnvFade = 0.0f;
}

float EnvFadeAfter(unsigned now, int startFrame) {
    return (float)(((double)now - 8.0 * startFrame) * 0.0005);
}

// 500 flares on one closed turn that breathes and ripples, each turned toward the eye.
static void DrawEnvFlareRing(float s) {
    const double rx = 2 * sin(s) + 15, ry = 2 * cos(s) + 15;
    const float s2 = 2 * s, sh = 0.5f * s, s8 = 8 * s;
    float d = 0;
    for (int i = 0; i < kFlareCount; ++i) {
        glPushMatrix();
        for (int doubling = 0; doubling < 5; ++doubling) glScalef(2, 2, 2);
        float a = s2 + d;
        Vec3 p = {(float)(sin(a) * rx), (float)(cos(a) * ry),
                  (float)((cos(6 * d + s8) + 1) * 5 * cos(8 * d + sh))};
        Vec3 n = EnvNormal(p, CameraEye);
        DrawMesh(&ScreenQuad, p.x, p.y, p.z, 87 * n.x + 87 * n.z, -87 * n.y, s8);
        glPopMatrix();
        d += 0.01256f;
    }
}

void DrawEnvFlares(int now) {
    const float s = (float)((unsigned)now * 0.0001);
    glPushMatrix();
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, EnvFade);
    DrawScene((int)((unsigned)now / 8), &EnvScene, false);
    glDisable(GL_BLEND);
    EnvFade = EnvFadeAfter((unsigned)now, EnvScene.startFrame);  // used on the next frame
    glEnable(GL_TEXTURE_2D);
    BeginAdditiveBlend();
    glScalef(2, 2, 2);
    glBindTexture(GL_TEXTURE_2D, EnvScene.textures[2].textureId);
    DrawEnvFlareRing(s);
    DrawParticles(0, 0, 600, MakeVec3(2, 2, 2));
    EndAdditiveBlend();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    DrawWhiteBand();
}
