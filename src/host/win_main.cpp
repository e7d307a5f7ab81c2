#include "host/win_main.h"

#include "gfx/gl.h"
#include "gfx/picture_area.h"
#include "gfx/window.h"
#include "host/debug_log.h"
#include "host/demo.h"
#include "host/demo_config.h"
#include "host/frame_timer.h"
#include "host/timeline.h"
#include "music/music.h"
#include "platform/events.h"
#include "platform/signals.h"
#include "platform/window.h"
#include "setup/setup_dialog.h"

#include <cstdio>
#include <cstring>

void JoinCommandLine(int argc, char** argv, char* out, int size) {
    int n = 0;
    out[0] = 0;
    for (int i = 1; i < argc && n < size - 1; ++i)
        n += snprintf(out + n, size - n, i > 1 ? " %s" : "%s", argv[i]);
}

// Start-up up to the main loop. False: the program ends with exit code 0.
static bool StartDemo(const char* commandLine) {
    if (strcmp(commandLine, "-nodialog") == 0) ShowSetupDialog = false;
    if (strcmp(commandLine, "-ddebug") == 0 && !OpenDebugLog())
        ShowMessageBox(nullptr, " Unable to initialize demo debug file!", "Warning", MB_OK | MB_ICONWARNING);
    WriteDebugLog(" Running dialog setup...");
    if (ShowSetupDialog) {
        RunSetupDialog(DemoTitle);
        if (DemoConfig.cancelled) {
            WriteDebugLog(" Canceled by user");
            return false;
        }
        WindowWidth = DemoConfig.width;
        WindowHeight = DemoConfig.height;
        WindowBits = DemoConfig.colourBits;
    } else {
        SetDefaultConfig();
        StartSound(nullptr);  // a failure has shown its own box; the show goes on
    }
    FullScreen = DemoConfig.fullScreen;
    WriteDebugLog(" Creating OpenGL window...");
    if (!CreateDemoWindow(DemoTitle, WindowWidth, WindowHeight, WindowBits, FullScreen)) {
        WriteDebugLog(" CRASH: Unable to create OpenGL window!");
        UnloadDemo();
        ShowMessageBox(nullptr, "Unable to create OpenGL window!", "Error", MB_OK | MB_ICONWARNING);
        return false;
    }
    BeginPictureFrame();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    EndPictureFrame();
    SwapWindowBuffers(GLContext.window);
    if (!PreloadDemo()) {
        UnloadDemo();
        DestroyDemoWindow();
        ShowMessageBox(nullptr, "Initialization error", "Pre loading Error", MB_SYSTEMMODAL | MB_ICONERROR);
        return false;
    }
    WriteDebugLog(" Timer init...");
    StartFrameTimer();
    WriteDebugLog(" \n Starting main demo loop\n");
    return true;
}

// Messages come before frames; a frame is drawn only when the queue is empty. Returns the quit
// message's code; an end by Escape, by the music's end or by a failed load returns 0, never the
// code of whatever message came last (a key or activation code would look like a failure).
int RunMainLoop() {
    PlatformMessage message = {MSG_NONE, 0, 0};
    for (;;) {
        if (PeekPlatformMessage(&message)) {
            if (message.id == MSG_QUIT) return (int)message.wParam;
            DispatchPlatformMessage(&message);
            continue;
        }
        // A failed load ends the show even while minimised: its window is gone, so nothing
        // would ever restore it.
        if ((WindowActive || DemoFailed) && !DrawPictureFrame(RenderFrame)) return 0;
        if (KeyState[27]) return 0;
        SwapWindowBuffers(GLContext.window);
    }
}

int WinMain(const char* commandLine) {
    InstallTerminationHandlers();
    if (!StartDemo(commandLine)) return 0;
    int exitCode = RunMainLoop();
    WriteDebugLog(" Shutdown sequence...");
    UnloadDemo();
    StopSound();
    DestroyDemoWindow();
    CloseDebugLog();
    return exitCode;
}
