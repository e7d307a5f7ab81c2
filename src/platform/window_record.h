// The record behind a WindowHandle, shared by the platform's window modules only.
#pragma once

#include <SDL2/SDL.h>

struct PlatformWindow {
    SDL_Window* window;
    SDL_GLContext context;
    bool fullScreen;
};
