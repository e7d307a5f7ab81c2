// The small windows the dialogs before the show are drawn in, each with a GL context of its own.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

// A hidden, centred, non-resizable window of width x height (in window coordinates) with a GL
// context made current. Null when it cannot be made (no display). Starts video if needed.
WindowHandle OpenDialogWindow(const char* title, int width, int height);
void ShowDialogWindow(WindowHandle dialog);
void SetDialogWindowTitle(WindowHandle dialog, const char* title);
bool MakeDialogWindowCurrent(WindowHandle dialog);
// Destroys the window and its context; stops video again if OpenDialogWindow started it.
void CloseDialogWindow(WindowHandle dialog);
// The window system's id of the window, to route its events.
uint32_t DialogWindowId(WindowHandle dialog);

// How much denser than 96 dots per inch the primary display is, 1 to 4 (estimated from its
// height when it does not say).
float DisplayScale();
