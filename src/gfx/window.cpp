#include "gfx/window.h"

#include "gfx/gl.h"
#include "gfx/picture_area.h"
#include "host/debug_log.h"
#include "platform/events.h"
#include "platform/window.h"

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

// The viewer's answer when full screen is refused. False: the viewer said No.
static bool FallBackToWindow() {
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

// Full screen covers the display at its own resolution (its mode is never changed); the picked
// size only sets the resolution the picture is drawn at.
static bool EnterFullScreen() {
    if (SetDesktopFullScreen(GLContext.window, true)) {
        ShowMouseCursor(false);
        return true;
    }
    return FallBackToWindow();
}

static int PickedWidth = 640, PickedHeight = 480;

// The drawable's size in pixels (larger than the window on high-DPI displays), or the fallback
// while the window system has not told it yet.
static void FollowDrawable(int fallbackWidth, int fallbackHeight) {
    int w, h;
    GetDrawableSize(GLContext.window, &w, &h);
    ResizeViewport(w ? w : fallbackWidth, h ? h : fallbackHeight);
}

int CreateDemoWindow(const char* title, int width, int height, int colourBits, bool fullScreen) {
    WriteDebugLog(" - Creating OpenGL window...");
    FullScreen = fullScreen;
    PickedWidth = width;
    PickedHeight = height;
    WriteDebugLog(" - Registering class...");
    if (!GLContext.registered && !StartVideo())
        return FailCreate("   CRASH: Failed to register the window class!",
                          "Failed To Register The Window Class.", false);
    GLContext.registered = true;
    if (FullScreen) {
        WriteDebugLog(" - Fullscreen mode");
        WriteDebugLog(" - Changing display setting...");
    }
    RequestPixelFormat(colourBits);
    WriteDebugLog(" - Creating final window...");
    GLContext.window = OpenPlatformWindow(title, width, height, HiddenWindow);
    if (!GLContext.window)
        return FailCreate("   CRASH: Windows creation error!", "Window Creation Error.", true);
    if (FullScreen && !EnterFullScreen()) {
        ClosePlatformWindow(GLContext.window);  // as if it had never been made; the class stays
        GLContext.window = nullptr;
        return 0;
    }
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
    SetPictureDrawSize(FullScreen ? width : 0, FullScreen ? height : 0);
    FollowDrawable(width, height);
    InitGLDefaults();
    CentreWindow(GLContext.window, width, height);
    WriteDebugLog(" - OpenGL window ready.");
    return 1;
}

void ToggleFullScreen() {
    if (!HasGLContext(GLContext.window)) return;
    const bool on = !FullScreen;
    if (!SetDesktopFullScreen(GLContext.window, on)) return;  // refused: it stays as it is
    FullScreen = on;
    ShowMouseCursor(!on);
    SetPictureDrawSize(on ? PickedWidth : 0, on ? PickedHeight : 0);
    FollowDrawable(PickedWidth, PickedHeight);
}

static void ShowShutdownError(const char* logLine, const char* message) {
    WriteDebugLog(logLine);
    ShowMessageBox(GLContext.window, message, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

void DestroyDemoWindow() {
    WriteDebugLog(" - Destroying OpenGL window...");
    ReleasePicture();
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

// The picture keeps 4:3 in any drawable: the viewport is its area, and so is the aspect.
void ResizeViewport(int width, int height) {
    if (height == 0) height = 1;
    PlacePicture(width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, kPictureAspect, (double)0.1f, 100.0);
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
        if (HasGLContext(GLContext.window)) FollowDrawable((int)(lParam & 0xFFFF), (int)(lParam >> 16));
        return 0;
    case MSG_ACTIVATE: WindowActive = (wParam >> 16) == 0; return 0;
    case MSG_CLOSE: PostQuitRequest(0); return 0;
    case MSG_KEYDOWN: {
        // Alt+Enter and F11 switch full screen on and off; a held key's repeats do not.
        const uint32_t key = wParam & 0xFF;
        const bool repeat = KeyState[key];
        KeyState[key] = true;
        if (!repeat && (key == kKeyF11 || (key == kKeyEnter && KeyState[kKeyAlt]))) ToggleFullScreen();
        return 0;
    }
    case MSG_KEYUP: KeyState[wParam & 0xFF] = false; return 0;
    case MSG_SYSCOMMAND: return 0;  // screen saver and monitor power-down stay off
    default: return 0;
    }
}
