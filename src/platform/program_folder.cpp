#include "platform/program_folder.h"

#include <SDL2/SDL.h>

#include <cstdio>

bool ProgramFolder(char* out, size_t size) {
    char* base = SDL_GetBasePath();  // needs no SDL_Init
    if (!base) return false;
    int length = snprintf(out, size, "%s", base);
    SDL_free(base);
    return length > 0 && (size_t)length < size;
}
