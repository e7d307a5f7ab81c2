// The demo window and its GL context, the GL defaults and the window procedure.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

struct GLContextRecord {
    WindowHandle window;  // with its GL context; null when absent
    bool registered;      // the video subsystem is started (the "window class")
};

extern GLContextRecord GLContext;
extern bool FullScreen;
extern bool WindowActive;  // false while minimised
extern bool KeyState[256];  // indexed by virtual-key code; Escape is 27
enum : uint32_t { kKeyEnter = 13, kKeyAlt = 18, kKeyF11 = 122 };

int CreateDemoWindow(const char* title, int width, int height, int colourBits, bool fullScreen);
void DestroyDemoWindow();
void ResizeViewport(int width, int height);
// Full screen on or off while the show runs (Alt+Enter, F11); nothing else of the show changes.
void ToggleFullScreen();
int InitGLDefaults();
long DemoWindowProc(WindowHandle window, int message, uint32_t wParam, uint32_t lParam);

// The toolbox and the tests render off screen: the next CreateDemoWindow makes a hidden window
// without vsync.
void SetHiddenWindow(bool hidden);
