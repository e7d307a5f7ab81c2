#include "gfx/window.h"

#include "host/debug_log.h"
#include "platform/events.h"
#include "platform/window.h"

#include <GL/gl.h>
#include <GL/glu.h>

GLContextRecord GLContext = {nullptr, false};
bool FullScreen = false;
bool WindowActive = true;
bool KeyState[256];

static bool HiddenWindow = false;

void SetHiddenWindow(bool hidden) { HiddenWindow = hidden; }

static int FailCreate(const char* logLine, const char* message, bool destroy) {
    WriteDebugLog(logLine);
    if (destroy) DestroyDemoWindow();
    ShowMessageBox(GLContext.window, message, "ERROR", MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

// Step 4: switch the display, or ask whether to fall back to a window. False: the viewer said No.
static bool EnterFullScreen(int width, int height, int colourBits) {
    WriteDebugLog(" - Fullscreen mode");
    WriteDebugLog(" - Changing display setting...");
    if (FindFullScreenMode(width, height, colourBits)) {
        ShowMouseCursor(false);
        return true;
    }
    int answer = ShowMessageBox(nullptr,
                                "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                                "Use Windowed Mode Instead?",
                                "Quil GL", MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDYES) {
        WriteDebugLog(" - WARNING: Fullscreen mode is not supported by video card!");
        WriteDebugLog("            Switching to windowed mode...");
        FullScreen = false;
        return true;
    }
    WriteDebugLog(" - Windowed mode switching canceled by user. Program will now close...");
    ShowMessageBox(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONERROR);
    return false;
}

int CreateDemoWindow(const char* title, int width, int height, int colourBits, bool fullScreen) {
    WriteDebugLog(" - Creating OpenGL window...");
    FullScreen = fullScreen;
    WriteDebugLog(" - Registering class...");
    if (!GLContext.registered && !StartVideo())
        return FailCreate("   CRASH: Failed to register the window class!",
                          "Failed To Register The Window Class.", false);
    GLContext.registered = true;
    if (FullScreen && !EnterFullScreen(width, height, colourBits)) return 0;
    RequestPixelFormat(colourBits);
    WriteDebugLog(" - Creating final window...");
    GLContext.window = OpenPlatformWindow(title, width, height, colourBits, FullScreen, HiddenWindow);
    if (!GLContext.window)
        return FailCreate("   CRASH: Windows creation error!", "Window Creation Error.", true);
    SetDemoWindowHandle(GLContext.window);
    SetWindowProcedure(DemoWindowProc);
    WriteDebugLog(" - Creating GL device context...");
    WriteDebugLog(" - Finding correct pixel format...");
    WriteDebugLog(" - Setup the PixelFormat...");
    WriteDebugLog(" - Creating OpenGL rendering context...");
    if (!CreateGLContext(GLContext.window))
        return FailCreate("   CRASH: Can't create aOpenGL rendering context!",
                          "Can't Create A GL Rendering Context.", true);
    WriteDebugLog(" - Activating OpenGL rendering context...");
    if (!MakeGLContextCurrent(GLContext.window))
        return FailCreate("   CRASH: Can't activate the OpenGL rendering context!",
                          "Can't Activate The GL Rendering Context.", true);
    SetSwapInterval(HiddenWindow ? 0 : 1);
    ShowAndFocusWindow(GLContext.window);
    int drawableWidth, drawableHeight;
    GetDrawableSize(GLContext.window, &drawableWidth, &drawableHeight);
    ResizeViewport(drawableWidth ? drawableWidth : width, drawableHeight ? drawableHeight : height);
    InitGLDefaults();
    CentreWindow(GLContext.window, width, height);
    WriteDebugLog(" - OpenGL window ready.");
    return 1;
}

static void ShowShutdownError(const char* logLine, const char* message) {
    WriteDebugLog(logLine);
    ShowMessageBox(GLContext.window, message, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

void DestroyDemoWindow() {
    WriteDebugLog(" - Destroying OpenGL window...");
    if (FullScreen) {
        WriteDebugLog(" - Restoring display settings...");
        RestoreDesktopMode(GLContext.window);
        ShowMouseCursor(true);
    }
    if (HasGLContext(GLContext.window)) {
        WriteDebugLog(" - Releasing DC and device context...");
        if (!MakeGLContextCurrent(nullptr))
            ShowShutdownError("   CRASH: DC and RC failed!", "Release Of DC And RC Failed.");
        if (!DeleteGLContext(GLContext.window))
            ShowShutdownError(" - Release Rendering Context Failed!", "Release Rendering Context Failed.");
    }
    WriteDebugLog(" - Release rendering context...");
    WriteDebugLog(" - Destroying window handle...");
    if (GLContext.window) {
        ClosePlatformWindow(GLContext.window);
        GLContext.window = nullptr;
        SetDemoWindowHandle(nullptr);
    }
    WriteDebugLog(" - Unregistering class...");
    if (GLContext.registered) {
        StopVideo();
        GLContext.registered = false;
    } else {
        WriteDebugLog("   CRASH: Could not unregister class!");
    }
    WriteDebugLog(" - OpenGL destroy sequence done.");
}

void ResizeViewport(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (double)width / (double)height, (double)0.1f, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

int InitGLDefaults() {
    WriteDebugLog(" - Initializing OpenGL interface (default values)");
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glColor4f(1, 1, 1, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    WriteDebugLog(" - OpenGL init done.");
    return 1;
}

long DemoWindowProc(WindowHandle window, int message, uint32_t wParam, uint32_t lParam) {
    (void)window;
    switch (message) {
    case MSG_SIZE:
        // The viewport follows the drawable, which on high-DPI displays is larger than the window.
        if (HasGLContext(GLContext.window)) {
            int w, h;
            GetDrawableSize(GLContext.window, &w, &h);
            ResizeViewport(w ? w : (int)(lParam & 0xFFFF), h ? h : (int)(lParam >> 16));
        }
        return 0;
    case MSG_ACTIVATE: WindowActive = (wParam >> 16) == 0; return 0;
    case MSG_CLOSE: PostQuitRequest(0); return 0;
    case MSG_KEYDOWN: KeyState[wParam & 0xFF] = true; return 0;
    case MSG_KEYUP: KeyState[wParam & 0xFF] = false; return 0;
    case MSG_SYSCOMMAND: return 0;  // screen saver and monitor power-down stay off
    default: return 0;
    }
}
