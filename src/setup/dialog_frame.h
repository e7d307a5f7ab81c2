// One dialog window drawn with Dear ImGui on its SDL2 + OpenGL2 back ends, laid out in dialog
// units, with a dialog's keyboard: Tab moves, Space and Enter press, Escape cancels, Alt+letter
// presses the button whose letter is underlined.
#pragma once

#include "platform/msgbox.h"

struct ImGuiContext;

enum DialogControlKind { kDialogButton, kDialogCheckBox, kDialogList };

// One control that takes the keyboard focus, in tab order.
struct DialogControl {
    int id;
    DialogControlKind kind;
    char accelerator;  // the underlined letter ('R' for "&Run"), 0 for none
};

// What the keys of this frame asked for (at most one thing a frame).
struct DialogKeys {
    int pressId;    // a button to press, 0 for none
    int toggleId;   // a check box to toggle, 0 for none
    int listId;     // a list whose selection moves by listDelta, 0 for none
    int listDelta;
};

// A key press waiting to be handled.
struct DialogKey {
    int scancode;
    bool shift;
    bool alt;
};
enum { kDialogKeyQueue = 16 };

struct DialogFrame {
    WindowHandle window;
    ImGuiContext* context;
    float dluX;  // pixels per horizontal dialog unit
    float dluY;
    const DialogControl* controls;
    int controlCount;
    int focus;           // index into controls
    int defaultId;       // Enter presses it unless another button has the focus
    int cancelId;        // Escape and the close box press it
    bool closeRequested; // the close box, a quit request or a termination signal
    bool closePopup;     // Escape closes an open drop-down list
    DialogKey keys[kDialogKeyQueue];
    int keyCount;
    unsigned iconTexture; // the icon's GL texture, made when first drawn; 0 before
};

// Opens the window, hidden, sized from the template's dialog units. False without a display.
bool OpenDialogFrame(DialogFrame* frame, const char* caption, int widthDlu, int heightDlu);
void CloseDialogFrame(DialogFrame* frame);
void ShowDialogFrame(DialogFrame* frame);
// Makes the frame's window and ImGui context current again (after a nested dialog).
void SelectDialogFrame(DialogFrame* frame);

// Waits briefly for input, feeds it to ImGui and begins the frame; returns the keys' request.
DialogKeys BeginDialogFrame(DialogFrame* frame);
// A frame that only paints (a dialog under a modal one): no input is taken.
void BeginPaintOnlyFrame(DialogFrame* frame);
void EndDialogFrame(DialogFrame* frame);

// Screenshots: the next EndDialogFrame copies its picture here (RGB, top row first; width and
// height 0 when it did not fit in `capacity` bytes).
struct DialogCapture {
    unsigned char* rgb;
    int capacity;
    int width;
    int height;
};
void CaptureNextDialogFrame(DialogCapture* capture);

// Widgets at template rectangles (dialog units). `tab` is the control's index in the tab order
// or -1. Clicking a control gives it the focus.
void DialogGroupBox(DialogFrame* frame, const char* label, int x, int y, int w, int h);
void DialogText(DialogFrame* frame, const char* text, int x, int y);
bool DialogButton(DialogFrame* frame, int tab, const char* label, int x, int y, int w, int h);
bool DialogCheckBox(DialogFrame* frame, int tab, const char* label, bool* value, int x, int y, int w, int h);
// A list box; returns true when a click changed the selection.
typedef const char* (*DialogItemText)(int index);
bool DialogListBox(DialogFrame* frame, int tab, DialogItemText text, int count, int* selection,
                   bool scrollToSelection, int x, int y, int w, int h);
// A drop-down list; returns true when the viewer picked an entry.
bool DialogDropDown(DialogFrame* frame, int tab, DialogItemText text, int count, int* selection, bool enabled,
                    int x, int y, int w);
// The program's icon (setup/icon_picture.h), drawn into the rectangle.
void DialogIcon(DialogFrame* frame, int x, int y, int w, int h);

// Moves a list selection by `delta` within 0..count-1 (nothing selected: the first entry).
int MoveSelection(int selection, int delta, int count);
