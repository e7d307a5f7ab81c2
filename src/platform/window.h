// The window, its GL context and the display modes, over SDL2.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

struct SDL_Window;

// Starts and stops the video subsystem (the "window class" of the show).
bool StartVideo();
void StopVideo();

// True when the primary display offers a full-screen mode of exactly this size and depth
// (24-bit-depth modes stored in 32 bits count as 32).
bool FindFullScreenMode(int width, int height, int colourBits);

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
// Test hook: list these modes instead of the display's (count < 0: the display's again).
void SetTestDisplayModes(const PlatformDisplayMode* modes, int count);

// Asks for the GL pixel format: double buffer, RGBA with `colourBits`, 16-bit depth, no stencil.
void RequestPixelFormat(int colourBits);

// Opens a GL-capable window with a client area of width x height. In full screen the display is
// switched to that mode. `hidden` windows are never shown (the toolbox renders off screen).
WindowHandle OpenPlatformWindow(const char* title, int width, int height, int colourBits,
                                bool fullScreen, bool hidden);
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
void RestoreDesktopMode(WindowHandle window);

// Drawable size in pixels (differs from the window size on high-DPI displays).
void GetDrawableSize(WindowHandle window, int* width, int* height);

// The demo window, or null; message boxes of every module are owned by it when it exists.
WindowHandle DemoWindowHandle();
void SetDemoWindowHandle(WindowHandle window);

SDL_Window* PlatformSdlWindow(WindowHandle window);
