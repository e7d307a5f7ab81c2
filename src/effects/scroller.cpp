#include "effects/scroller.h"

#include "effects/colour_table.h"
#include "effects/effect_helpers.h"
#include "effects/effect_random.h"
#include "effects/effect_loading.h"
#include "gfx/gl.h"
#include "gfx/window.h"
#include "host/demo.h"
#include "music/music_clock.h"
#include "package/package.h"
#include "platform/msgbox.h"
#include "render/mesh_draw.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

float ScrollColours[kScrollRows][kScrollColumns][3];
float* PointCloud;
Texture ScrollerTextures[kScrollerTextureCount];
Scene OldCubeScene;
static int32_t ScrollerStartTime = -1;

static bool LoadScrollColours() {
    if (!ExtractFile(GLContext.window, "sinscrol.raw")) return false;
    if (ReadColourTable(&ScrollColours[0][0][0], kScrollRows * kScrollColumns * 3)) return true;
    free(PointCloud);
    PointCloud = nullptr;
    ShowMessageBox(GLContext.window, "Unable to load scrol matrix!\nOpen error.", "Error", MB_OK | MB_ICONERROR);
    return false;
}

bool LoadScroller() {
    PointCloud = (float*)malloc(kCloudPoints * 3 * sizeof(float));
    if (!PointCloud) {
        ShowMessageBox(GLContext.window, "No memory for scroll matrix", "Error", MB_OK | MB_ICONERROR);
        return false;
    }
    if (!LoadScrollColours()) return false;
    static const char* const kEntries[kScrollerTextureCount] = {"blue_env.tga", "old_red.tga", "old_green.tga",
                                                                "old_blue.tga"};
    for (int i = 0; i < kScrollerTextureCount; ++i)
        if (!LoadTextureEntry(kEntries[i], &ScrollerTextures[i])) return false;
    // The cloud takes the generator's next values, after every draw the earlier loads made.
    for (int i = 0; i < kCloudPoints * 3; ++i) PointCloud[i] = (float)(EffectRandom() % 200 - 100);
    if (!LoadSceneEntry("oldcube.3ds", &OldCubeScene, 0)) return false;
    if (!RequireMeshes(&OldCubeScene, 1, "oldcube.3ds")) return false;
    OldCubeScene.meshes[0].visible = 0;
    return true;
}

void UnloadScroller() {
    for (Texture& texture : ScrollerTextures) FreeTexturePixels(&texture);
    free(PointCloud);
    PointCloud = nullptr;
    UnloadScene(&OldCubeScene);
}

void ResetScroller() {
    ScrollerStartTime = -1;
    OldCubeScene.startFrame = -1;
}

// Every point turned by a degrees about x, y and z, one draw each.
static void DrawPointCloud(float a) {
    glColor4f(1, 1, 1, 1);
    glPointSize(2);
    if (!PointCloud) return;
    for (int i = 0; i < kCloudPoints; ++i) {
        const float* p = &PointCloud[i * 3];
        glPushMatrix();
        glRotatef(a, 1, 0, 0);
        glRotatef(a, 0, 1, 0);
        glRotatef(a, 0, 0, 1);
        glBegin(GL_POINTS);
        glVertex3f(p[0], p[1], p[2]);
        glEnd();
        glPopMatrix();
    }
}

// Red, green and blue bars swinging on phases 1.01 apart, 30 units wide at depth 10.
static void DrawRasterBars(float a) {
    float b = a;
    for (int bar = 1; bar <= 3; ++bar) {
        glBindTexture(GL_TEXTURE_2D, ScrollerTextures[bar].textureId);
        glPushMatrix();
        glScalef(15, 1, 1);
        DrawMesh(&ScreenQuad, 0, 8 * sinf(b / 4), -10, 0, 0, 0);
        glPopMatrix();
        b += 1.01f;
    }
}

// One 2-unit square per picture pixel, bobbing on two phases that run on over all squares.
static void DrawScrollSquares(float a) {
    float p = a, q = a;
    for (int r = 0; r < kScrollRows; ++r)
        for (int col = 0; col < kScrollColumns; ++col) {
            const float* c = ScrollColours[r][col];
            glPushMatrix();
            glColor3f(c[0], c[1], c[2]);
            DrawMesh(&ScreenQuad, (float)col, r + 0.5f * sinf(p), 2 * sinf(q) - 5, 0, 0, 0);
            glPopMatrix();
            q += 0.002f;
            p += 0.1f;
        }
}

void DrawScroller(int now) {
    if (ScrollerStartTime == -1) ScrollerStartTime = now;
    const float a = (float)(now - ScrollerStartTime) * 0.01f;
    DrawPointCloud(a);
    glEnable(GL_TEXTURE_2D);
    BeginAdditiveBlend();
    // The bars follow the music itself, not the Effect's clock.
    if (ReadMusicPosition() >= kBarsStart) DrawRasterBars(a);
    glBindTexture(GL_TEXTURE_2D, ScrollerTextures[0].textureId);
    glPushMatrix();
    // The camera pans along +x by 10 units a second, looking straight down -z.
    gluLookAt(a - 16, 5, 10, a - 16, 5, 0, 1, 45, 0);
    DrawScrollSquares(a);
    glPopMatrix();
    EndAdditiveBlend();
    glBindTexture(GL_TEXTURE_2D, SubTexture.textureId);
    glDisable(GL_TEXTURE_2D);
    if (a / 8 <= 1) DrawSubTextureOverlay(1 - a / 8);
}
