#include "effects/picture_wave.h"

#include "effects/colour_table.h"
#include "effects/effect_loading.h"
#include "effects/opening_scene.h"
#include "gfx/gl.h"
#include "gfx/window.h"
#include "host/demo.h"
#include "package/package.h"
#include "platform/msgbox.h"
#include "render/mesh_draw.h"
#include "render/scene_draw.h"

#include <cmath>
#include <cstdlib>

Scene PlanesScene;
float* PlanesMatrix;
static int32_t PictureStartTime = -1;

enum { kPlanesValues = kPlanesPictureSize * kPlanesPictureSize * 3 };

static bool LoadPlanesMatrix() {
    PlanesMatrix = (float*)malloc(kPlanesValues * sizeof(float));
    if (!PlanesMatrix) {
        ShowMessageBox(GLContext.window, "No memory for planes matrix!", "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    if (!ExtractFile(GLContext.window, "ese.raw")) return false;
    if (ReadColourTable(PlanesMatrix, kPlanesValues)) return true;
    free(PlanesMatrix);
    PlanesMatrix = nullptr;
    ShowMessageBox(GLContext.window, "Unable to load planes matrix!\nOpen error.", "Error", MB_OK | MB_ICONERROR);
    return false;
}

bool LoadPictureWave() {
    static const char* const kEntries[1] = {"08cielo.tga"};
    if (!LoadSceneEntry("planes.3DS", &PlanesScene, 1)) return false;
    if (!RequireMeshes(&PlanesScene, 1, "planes.3DS")) return false;
    if (!LoadSceneTextures(&PlanesScene, kEntries, 1)) return false;
    // Only the camera path serves; further Meshes, if any, share the one texture and stay drawn.
    for (int m = 0; m < PlanesScene.meshCount; ++m) PlanesScene.meshes[m].texture = 0;
    PlanesScene.meshes[0].visible = 0;
    return LoadPlanesMatrix();
}

void UnloadPictureWave() {
    UnloadScene(&PlanesScene);
    free(PlanesMatrix);
    PlanesMatrix = nullptr;
}

void ResetPictureWave() {
    PictureStartTime = -1;
    PlanesScene.startFrame = -1;
}

float PictureWaveAmplitude(int t) {
    const float amp = 64 - (float)t * 0.0041f;
    return amp < 0 ? 0 : amp;
}

// 50 x 50 squares 8 units apart, each the colour of every second picture pixel, rippling in depth.
static void DrawPictureGrid(float g0, float amp) {
    float e = 0;
    for (int r = 0; r < kPlanesGridSize; ++r) {
        float g = g0;
        for (int k = 0; k < kPlanesGridSize; ++k) {
            const float* c = &PlanesMatrix[((2 * r) * kPlanesPictureSize + 2 * k) * 3];
            glPushMatrix();
            glScalef(4, 4, 1);
            glColor4f(c[0], c[1], c[2], 1);
            DrawMesh(&ScreenQuad, (float)(2 * k - 50), (float)(2 * r - 50), amp * sinf(e + g), 0, 0, 0);
            glPopMatrix();
            g += 8.1256f;
        }
        e += 0.1f;
    }
}

void DrawPictureWave(int now) {
    if (PictureStartTime == -1) PictureStartTime = now;
    const int t = now - PictureStartTime;
    glPushMatrix();
    // The scene camera's view stays on the matrix for the grid.
    DrawScene((int)((unsigned)now / 3), &PlanesScene, false);
    BeginAdditiveBlend();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, PlanesScene.textures ? PlanesScene.textures[0].textureId : 0);
    if (PlanesMatrix) DrawPictureGrid((float)t * 0.001f, PictureWaveAmplitude(t));
    glDisable(GL_TEXTURE_2D);
    EndAdditiveBlend();
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
    // Black at the start, fading out linearly over five seconds.
    const float fade = (float)t * 0.0002f;
    if (fade <= 1) DrawFullVeil(0, 0, 0, 1 - fade);
}
