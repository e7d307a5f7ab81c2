#include "platform/window.h"

#include <SDL2/SDL.h>

#include "platform/driver_pin.h"
#include "platform/window_record.h"

static PlatformWindow TheWindow;  // the show has one window at a time
static WindowHandle DemoWindow = nullptr;

bool StartVideo() {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // termination arrives through our own handlers
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

void StopVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

// Depth as the show counts it: 24-bit colour stored in 32 bits is a 32-bit mode, 15 bits are 16.
int DisplayModeBits(uint32_t format) {
    int bits = SDL_BITSPERPIXEL(format);
    if (bits == 24 && SDL_BYTESPERPIXEL(format) == 4) return 32;
    if (bits == 15) return 16;
    return bits;
}

static const PlatformDisplayMode* TestModes = nullptr;
static int TestModeCount = -1;

void SetTestDisplayModes(const PlatformDisplayMode* modes, int count) {
    TestModes = modes;
    TestModeCount = count;
}

int ListPrimaryDisplayModes(PlatformDisplayMode* modes, int capacity) {
    if (TestModeCount >= 0) {
        int n = TestModeCount < capacity ? TestModeCount : capacity;
        for (int i = 0; i < n; ++i) modes[i] = TestModes[i];
        return n;
    }
    int count = SDL_GetNumDisplayModes(0);
    if (count < 0) return -1;
    int listed = 0;
    for (int i = 0; i < count && listed < capacity; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        modes[listed++] = {mode.w, mode.h, DisplayModeBits(mode.format)};
    }
    return listed;
}

bool FindFullScreenMode(int width, int height, int colourBits) {
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        if (mode.w == width && mode.h == height && DisplayModeBits(mode.format) == colourBits) return true;
    }
    return false;
}

void RequestPixelFormat(int colourBits) {
    const int channel = colourBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
}

static bool SetFullScreenMode(SDL_Window* window, int width, int height, int colourBits) {
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        if (mode.w == width && mode.h == height && DisplayModeBits(mode.format) == colourBits)
            return SDL_SetWindowDisplayMode(window, &mode) == 0;
    }
    return false;
}

WindowHandle OpenPlatformWindow(const char* title, int width, int height, int colourBits,
                                bool fullScreen, bool hidden) {
    if (TheWindow.window) return nullptr;
    Uint32 flags = SDL_WINDOW_OPENGL | (hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    if (!hidden) flags |= SDL_WINDOW_ALLOW_HIGHDPI;
    SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          width, height, flags);
    if (!window) return nullptr;
    if (fullScreen) {
        SetFullScreenMode(window, width, height, colourBits);
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN);
    }
    TheWindow = {window, nullptr, fullScreen};
    return &TheWindow;
}

void ClosePlatformWindow(WindowHandle window) {
    if (!window || !window->window) return;
    SDL_DestroyWindow(window->window);
    window->window = nullptr;
    if (DemoWindow == window) DemoWindow = nullptr;
}

bool CreateGLContext(WindowHandle window) {
    if (!window || !window->window) return false;
    window->context = SDL_GL_CreateContext(window->window);
    if (window->context) PinGLDriver();
    return window->context != nullptr;
}

bool MakeGLContextCurrent(WindowHandle window) {
    if (!window) return SDL_GL_MakeCurrent(TheWindow.window, nullptr) == 0;
    return SDL_GL_MakeCurrent(window->window, window->context) == 0;
}

bool DeleteGLContext(WindowHandle window) {
    if (!window || !window->context) return false;
    SDL_GL_DeleteContext(window->context);
    window->context = nullptr;
    return true;
}

bool HasGLContext(WindowHandle window) { return window && window->context; }

void SwapWindowBuffers(WindowHandle window) {
    if (window && window->window) SDL_GL_SwapWindow(window->window);
}

void SetSwapInterval(int interval) { SDL_GL_SetSwapInterval(interval); }

void ShowAndFocusWindow(WindowHandle window) {
    if (!window || !window->window) return;
    if (!(SDL_GetWindowFlags(window->window) & SDL_WINDOW_HIDDEN)) {
        SDL_ShowWindow(window->window);
        SDL_RaiseWindow(window->window);
    }
    SDL_DisableScreenSaver();
}

void CentreWindow(WindowHandle window, int width, int height) {
    if (!window || !window->window || window->fullScreen) return;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(0, &bounds) != 0) return;
    SDL_SetWindowPosition(window->window, bounds.x + bounds.w / 2 - width / 2,
                          bounds.y + bounds.h / 2 - height / 2);
}

void ShowMouseCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void RestoreDesktopMode(WindowHandle window) {
    if (window && window->window) SDL_SetWindowFullscreen(window->window, 0);
}

void GetDrawableSize(WindowHandle window, int* width, int* height) {
    *width = *height = 0;
    if (window && window->window) SDL_GL_GetDrawableSize(window->window, width, height);
}

WindowHandle DemoWindowHandle() { return DemoWindow; }
void SetDemoWindowHandle(WindowHandle window) { DemoWindow = window; }

SDL_Window* PlatformSdlWindow(WindowHandle window) { return window ? window->window : nullptr; }
