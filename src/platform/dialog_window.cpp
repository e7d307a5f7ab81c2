#include "platform/dialog_window.h"

#include "platform/driver_pin.h"
#include "platform/window.h"
#include "platform/window_record.h"

// Two dialogs at most are open at once: the setup dialog and the sound dialog over it.
static PlatformWindow DialogWindows[2];

static PlatformWindow* FreeDialogRecord() {
    for (PlatformWindow& record : DialogWindows)
        if (!record.window) return &record;
    return nullptr;
}

WindowHandle OpenDialogWindow(const char* title, int width, int height) {
    PlatformWindow* record = FreeDialogRecord();
    if (!record || !StartVideo()) return nullptr;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    RequestGLVersion();
    SDL_Window* window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        if (window) SDL_DestroyWindow(window);
        StopVideo();
        return nullptr;
    }
    PinGLDriver();
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(1);
    *record = {window, context, false};
    return record;
}

void ShowDialogWindow(WindowHandle dialog) {
    if (!dialog || !dialog->window) return;
    SDL_ShowWindow(dialog->window);
    SDL_RaiseWindow(dialog->window);
}

void SetDialogWindowTitle(WindowHandle dialog, const char* title) {
    if (dialog && dialog->window) SDL_SetWindowTitle(dialog->window, title);
}

bool MakeDialogWindowCurrent(WindowHandle dialog) {
    return dialog && dialog->window && SDL_GL_MakeCurrent(dialog->window, dialog->context) == 0;
}

void CloseDialogWindow(WindowHandle dialog) {
    if (!dialog || !dialog->window) return;
    SDL_GL_MakeCurrent(dialog->window, nullptr);
    SDL_GL_DeleteContext(dialog->context);
    SDL_DestroyWindow(dialog->window);
    *dialog = {nullptr, nullptr, false};
    StopVideo();
}

uint32_t DialogWindowId(WindowHandle dialog) {
    return dialog && dialog->window ? SDL_GetWindowID(dialog->window) : 0;
}

// From the display's density when it reports one; otherwise from its height, taking a 1080-line
// desktop as 96 dots per inch (a 2160-line one is then twice as dense).
float DisplayScale() {
    float dpi = 0, scale = 1.0f;
    SDL_Rect bounds;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) == 0 && dpi > 0)
        scale = dpi / 96.0f;
    else if (SDL_GetDisplayBounds(0, &bounds) == 0 && bounds.h > 0)
        scale = (float)(int)(bounds.h / 1080.0f * 4.0f) / 4.0f;  // quarter steps
    return scale < 1.0f ? 1.0f : (scale > 4.0f ? 4.0f : scale);
}
