#include "gl_context.h"

#include "gfx/gl.h"
#include "gfx/window.h"
#include "host/demo_config.h"

#include <cstdlib>

static bool Opened = false;

bool OpenTestGLContext(int width, int height) {
    if (Opened) return true;
    SetHiddenWindow(true);
    WindowWidth = width;
    WindowHeight = height;
    Opened = CreateDemoWindow(DemoTitle, width, height, 32, false) == 1;
    if (Opened) atexit(DestroyDemoWindow);
    return Opened;
}

void ReadTestPixel(int x, int y, unsigned char rgba[4]) {
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}
