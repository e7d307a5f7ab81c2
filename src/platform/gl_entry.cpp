#include "platform/gl_entry.h"

#include <SDL2/SDL.h>

void* LookUpGLEntryPoint(const char* name) { return SDL_GL_GetProcAddress(name); }
