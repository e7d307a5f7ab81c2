#include "platform/window.h"

#include <SDL2/SDL.h>

#include "platform/driver_pin.h"
#include "platform/window_record.h"

#if KAMORA_GLES
#include "fixed/fixed_gl.h"
#endif
#ifdef __EMSCRIPTEN__
#include "platform/web/web_page.h"
#endif

static PlatformWindow TheWindow;  // the show has one window at a time
static WindowHandle DemoWindow = nullptr;

bool StartVideo() {
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");  // a full-screen show keeps drawing
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // termination arrives through our own handlers
#ifdef __EMSCRIPTEN__
    // The swap waits for the display's refresh itself (SwapWindowBuffers), not SDL's zero sleep.
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
#endif
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
static const PlatformDisplayMode* TestDesktop = nullptr;
static bool FullScreenRefused = false;

void SetTestDisplayModes(const PlatformDisplayMode* modes, int count, const PlatformDisplayMode* desktop) {
    TestModes = modes;
    TestModeCount = count;
    TestDesktop = desktop;
}

void SetTestFullScreenRefused(bool refused) { FullScreenRefused = refused; }

bool GetDesktopDisplayMode(PlatformDisplayMode* mode) {
    if (TestModeCount >= 0) {
        if (TestDesktop) *mode = *TestDesktop;
        return TestDesktop != nullptr;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) return false;
    *mode = {desktop.w, desktop.h, DisplayModeBits(desktop.format)};
    return true;
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

void RequestPixelFormat(int colourBits) {
    const int channel = colourBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    RequestGLVersion();
}

// OpenGL 1.1, or OpenGL ES 3.0 for the fixed-function layer.
void RequestGLVersion() {
#if KAMORA_GLES
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
#else
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
#endif
}

WindowHandle OpenPlatformWindow(const char* title, int width, int height, bool hidden) {
    if (TheWindow.window) return nullptr;
    Uint32 flags = SDL_WINDOW_OPENGL | (hidden ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN);
    if (!hidden) flags |= SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_RESIZABLE;
    SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          width, height, flags);
    if (!window) return nullptr;
    TheWindow = {window, nullptr, false};
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
    if (!window->context) return false;
    PinGLDriver();
#if KAMORA_GLES
    ResetFixedGL();  // a new context starts from GL's defaults, without the old one's objects
#endif
    return true;
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
#if KAMORA_GLES
    FlushFixedGL();
#endif
    if (window && window->window) SDL_GL_SwapWindow(window->window);
#ifdef __EMSCRIPTEN__
    // The browser shows the canvas once it has its turn: the frame is paced by the display.
    WaitForDisplayRefresh();
#endif
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

bool SetDesktopFullScreen(WindowHandle window, bool on) {
    if (!window || !window->window || (on && FullScreenRefused)) return false;
#ifdef __EMSCRIPTEN__
    // The page's element that holds the canvas goes full screen; the canvas follows its size.
    RequestPageFullScreen(on);
    window->fullScreen = on;
    return true;
#endif
    if (SDL_SetWindowFullscreen(window->window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
    window->fullScreen = on;
    return true;
}

void RestoreDesktopMode(WindowHandle window) {
    if (window && window->window && window->fullScreen) SetDesktopFullScreen(window, false);
}

void GetDrawableSize(WindowHandle window, int* width, int* height) {
    *width = *height = 0;
    if (window && window->window) SDL_GL_GetDrawableSize(window->window, width, height);
}

WindowHandle DemoWindowHandle() { return DemoWindow; }
void SetDemoWindowHandle(WindowHandle window) { DemoWindow = window; }

SDL_Window* PlatformSdlWindow(WindowHandle window) { return window ? window->window : nullptr; }
