// The window, its GL context and the display modes, over SDL2.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

struct SDL_Window;

// Starts and stops the video subsystem (the "window class" of the show).
bool StartVideo();
void StopVideo();

// One mode of the primary display, with its depth as the show counts it (24-bit colour stored in
// 32 bits counts as 32 bits per pixel, 15-bit colour as 16).
struct PlatformDisplayMode {
    int width;
    int height;
    int colourBits;
};

// The depth of an SDL pixel format as the show counts it (see PlatformDisplayMode).
int DisplayModeBits(uint32_t sdlFormat);

// Fills `modes` with up to `capacity` modes of the primary display in the driver's order and
// returns how many it wrote; -1 when the display cannot be asked (video not started).
int ListPrimaryDisplayModes(PlatformDisplayMode* modes, int capacity);
// The primary display's current (desktop) mode. False when it cannot be asked.
bool GetDesktopDisplayMode(PlatformDisplayMode* mode);
// Test hook: list these modes instead of the display's (count < 0: the display's again), with
// `desktop` as the current mode (null: none known).
void SetTestDisplayModes(const PlatformDisplayMode* modes, int count,
                         const PlatformDisplayMode* desktop = nullptr);

// Asks for the GL pixel format: double buffer, RGBA with `colourBits`, 16-bit depth, no stencil.
void RequestPixelFormat(int colourBits);
// Asks for the GL the show draws with (OpenGL 1.1, or OpenGL ES 3.0 where the build draws through
// the fixed-function layer).
void RequestGLVersion();

// Opens a GL-capable window with a client area of width x height, resizable unless `hidden`.
// `hidden` windows are never shown (the toolbox renders off screen).
WindowHandle OpenPlatformWindow(const char* title, int width, int height, bool hidden);
void ClosePlatformWindow(WindowHandle window);

bool CreateGLContext(WindowHandle window);
bool MakeGLContextCurrent(WindowHandle window);  // null: no context current
bool DeleteGLContext(WindowHandle window);
bool HasGLContext(WindowHandle window);

void SwapWindowBuffers(WindowHandle window);
void SetSwapInterval(int interval);  // 1: wait for the display's refresh
void ShowAndFocusWindow(WindowHandle window);
void CentreWindow(WindowHandle window, int width, int height);
void ShowMouseCursor(bool visible);
// Full screen covers the whole display at its own resolution; the display's mode is never
// changed. False when the window system refuses (the window stays as it was).
bool SetDesktopFullScreen(WindowHandle window, bool on);
void RestoreDesktopMode(WindowHandle window);  // leaves full screen, if the window is in it
// Test hook: every full-screen request fails, as on a window system that refuses it.
void SetTestFullScreenRefused(bool refused);

// Drawable size in pixels (differs from the window size on high-DPI displays).
void GetDrawableSize(WindowHandle window, int* width, int* height);

// The demo window, or null; message boxes of every module are owned by it when it exists.
WindowHandle DemoWindowHandle();
void SetDemoWindowHandle(WindowHandle window);

SDL_Window* PlatformSdlWindow(WindowHandle window);
