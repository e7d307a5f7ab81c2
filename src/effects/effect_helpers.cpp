#include "effects/effect_helpers.h"

#include "gfx/gl.h"
#include "host/demo.h"
#include "render/mesh_draw.h"

Texture SubTexture;

void DrawFadingQuad(float x, float y, float z, float alpha, unsigned texture) {
    BeginAdditiveBlend();
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glColor4f(1, 1, 1, alpha);
    glBindTexture(GL_TEXTURE_2D, texture);
    DrawMesh(&ScreenQuad, x, y, z, 0, 0, 0);
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    EndAdditiveBlend();
}

void DrawSubTextureOverlay(float alpha) {
    glEnable(GL_BLEND);
    BeginAdditiveBlend();
    bool enabledHere = !glIsEnabled(GL_TEXTURE_2D);
    if (enabledHere) glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glColor4f(1, 1, 1, alpha);
    glScalef(1.35f, 1.01f, 1);
    // Before the sub texture exists there is nothing to copy; the bound picture is drawn as it is.
    if (SubTexture.data)
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kSubTextureSize, kSubTextureSize, GL_RGB, GL_UNSIGNED_BYTE,
                        SubTexture.data);
    // Flipped about x and just past the near plane, the scaled square fills a 90-degree 4:3 view.
    DrawMesh(&ScreenQuad, 0, 0, -1.01f, 180, 0, 0);
    glPopMatrix();
    EndAdditiveBlend();
    glDisable(GL_BLEND);
    glClear(GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    if (enabledHere) glDisable(GL_TEXTURE_2D);
}
