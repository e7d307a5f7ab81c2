// The setup dialog shown before the show: display mode, full screen, sound off, loop, and the
// way to the sound dialog. Its logic lives here as plain routines over the controls' state; the
// drawing (setup/dialog_ui) only shows that state and turns clicks and keys into commands.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

// Messages a dialog procedure handles, numbered like their Win32 models.
enum : int { WM_DESTROY = 0x0002, WM_INITDIALOG = 0x0110, WM_COMMAND = 0x0111 };

typedef long (*DialogProcedure)(WindowHandle dialog, int message, uint32_t wParam, uint32_t lParam);

// Sends a control's command to a dialog procedure; when that ends the dialog (`ending` set) it
// sends WM_DESTROY too, as closing the window does. True when the dialog has closed; a closed
// dialog takes no more commands.
bool SendDialogCommand(DialogProcedure procedure, const bool* ending, WindowHandle dialog, int id);

// Control ids of the setup dialog (template 102).
enum : int {
    IDC_RUN = 1005,
    IDC_EXIT = 2,
    IDC_ABOUT = 1012,
    IDC_SOUND = 1013,
    IDC_MODE_LIST = 1006,
    IDC_FULLSCREEN = 1010,
    IDC_NO_SOUND = 1003,
    IDC_LOOP = 1004,
    IDC_CPU_SPEED = 1008,
};

enum { kDisplayModeCapacity = 299 };

struct DisplayMode {
    int32_t width;
    int32_t height;
    int8_t colourBits;
};

// Row i belongs to entry i of the mode list (the list does not sort).
extern DisplayMode DisplayModeTable[kDisplayModeCapacity];
extern int DisplayModeCount;

// What the setup dialog's controls hold.
struct SetupDialogState {
    char modeText[kDisplayModeCapacity][32];  // the mode list's entries
    int modeSelection;                        // -1: nothing selected
    bool fullScreen;                          // the three automatic check boxes
    bool noSound;
    bool loop;
    char cpuSpeed[64];                        // the CPU speed text
    char caption[256];
    bool ending;                              // the dialog has been ended
};
extern SetupDialogState SetupDialog;

// Shows the dialog and returns when it has closed; DemoConfig holds the outcome (`cancelled`
// set or not). Run has already started the sound device.
void RunSetupDialog(const char* title);

long SetupDialogProc(WindowHandle dialog, int message, uint32_t wParam, uint32_t lParam);
// SendDialogCommand to the setup dialog.
bool PressSetupButton(WindowHandle dialog, int id);

void ReadSetupDialog(WindowHandle dialog);
void ListDisplayModes(WindowHandle dialog);
void MeasureCpuSpeed(WindowHandle dialog);
// "CPU Speed: %d.%d Mhz ~" from the counter ticks of 100 ms (hundredths printed unpadded).
void FormatCpuSpeed(char* out, int size, uint64_t ticks);
