#include "effect_fixture.h"

#include "gl_context.h"
#include "host/demo.h"

#include <GL/gl.h>
#include <GL/glu.h>

void MakeSquareMesh(Mesh* mesh, float half, float z) {
    FaceVertex a = {-half, -half, z, 0, 0}, b = {-half, half, z, 0, 1};
    FaceVertex c = {half, half, z, 1, 1}, d = {half, -half, z, 1, 0};
    mesh->faceCount = 2;
    mesh->faces[0] = Face{3, {a, b, c}};
    mesh->faces[1] = Face{3, {a, d, c}};
}

void ClearEffectFrame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool BeginEffectFrame() {
    if (!OpenTestGLContext(640, 480)) return false;
    MakeSquareMesh(&ScreenQuad, 1, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90, 640.0 / 480.0, 1, 4000);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    ClearEffectFrame();
    return true;
}

unsigned MakeSolidTexture(unsigned char r, unsigned char g, unsigned char b) {
    unsigned char pixels[4 * 4 * 3];
    for (int i = 0; i < 16; ++i) {
        pixels[i * 3] = r;
        pixels[i * 3 + 1] = g;
        pixels[i * 3 + 2] = b;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    return name;
}

void MakeTestScene(Scene* scene, int meshCount, int textureCount) {
    scene->textureCount = (int8_t)textureCount;
    AllocScene(scene, meshCount, 0, textureCount);
    scene->meshCount = meshCount;
    for (int m = 0; m < meshCount; ++m) {
        scene->meshes[m] = Mesh{};
        scene->meshes[m].visible = 1;
    }
}

int RedAt(int x, int y) {
    unsigned char rgba[4];
    ReadTestPixel(x, y, rgba);
    return rgba[0];
}
