#include "platform/gl_entry.h"

#include <SDL2/SDL.h>

#if KAMORA_GLES
#include "fixed/fixed_gl.h"
#endif

void* LookUpGLEntryPoint(const char* name) {
#if KAMORA_GLES
    // The layer's own first: its framebuffer binds draw its pending batch before they switch.
    if (void* own = FixedEntryPoint(name)) return own;
#endif
    return SDL_GL_GetProcAddress(name);
}
