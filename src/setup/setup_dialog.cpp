#include "setup/setup_dialog.h"

#include "host/debug_log.h"
#include "host/demo_config.h"
#include "music/music.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "setup/dialog_ui.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

DisplayMode DisplayModeTable[kDisplayModeCapacity];
int DisplayModeCount = 0;
SetupDialogState SetupDialog;

static const char* const kAboutText =
    "Ka Mora\n"
    "A real-time demo by Vardenix\n"
    "\"Made of pixels, timed by music.\"\n"
    "Our productions and their sources: see the README that comes with the show.";

void RunSetupDialog(const char* title) {
    WriteDebugLog(" DLG: Creating dialog...");
    DemoConfig.title = title;
    if (RunSetupDialogWindow() != 0) {
        WriteDebugLog(" DLG CRASH: Unable to create dialog!");
        ShowMessageBox(nullptr, "Unable to create main dialog!", "Tessar Error", MB_OK | MB_ICONERROR);
        DemoConfig.cancelled = true;
        WriteDebugLog(" DLG: Canceled in showing function...");
        return;
    }
    if (DemoConfig.cancelled) WriteDebugLog(" DLG: Canceled in showing function...");
}

static void InitSetupDialog(WindowHandle dialog) {
    WriteDebugLog(" DLG: Initializing...");
    SetupDialog = SetupDialogState{};
    SetupDialog.modeSelection = -1;
    ListDisplayModes(dialog);
    MeasureCpuSpeed(dialog);
    WriteDebugLog(" DLG: Setting up default config...");
    SetDefaultConfig();
    snprintf(SetupDialog.caption, sizeof SetupDialog.caption, "%s", DemoConfig.title ? DemoConfig.title : "");
    SetupDialog.fullScreen = true;
    WriteDebugLog(" DLG: Init done.");
}

// Run: a failed sound start keeps the dialog open (its box has been shown) for another try.
static void PressRun(WindowHandle dialog) {
    DemoConfig.cancelled = false;
    ReadSetupDialog(dialog);
    if (!StartSound(dialog)) return;
    WriteDebugLog(" DLG: Canceled by user (Ok button)");
    SetupDialog.ending = true;
}

static void HandleCommand(WindowHandle dialog, int id) {
    switch (id) {
    case IDC_RUN: PressRun(dialog); break;
    case IDC_EXIT:
        WriteDebugLog(" DLG: Canceled by user (Cancel button)");
        DemoConfig.cancelled = true;
        SetupDialog.ending = true;
        break;
    case IDC_ABOUT: ShowMessageBox(dialog, kAboutText, "About", MB_OK | MB_ICONINFORMATION); break;
    case IDC_SOUND:
        if (RunSoundDialogWindow() != 0)
            ShowMessageBox(dialog, "Unable to create dialog!", "Error", MB_SYSTEMMODAL | MB_ICONERROR);
        break;
    default: break;
    }
}

long SetupDialogProc(WindowHandle dialog, int message, uint32_t wParam, uint32_t) {
    switch (message) {
    case WM_INITDIALOG: InitSetupDialog(dialog); return 0;
    case WM_COMMAND: HandleCommand(dialog, (int)(wParam & 0xFFFF)); return 0;
    case WM_DESTROY:
        WriteDebugLog(" DLG: Canceled (WM_DESTROY message)");
        SetupDialog.ending = true;
        return 1;
    default: return 0;
    }
}

bool SendDialogCommand(DialogProcedure procedure, const bool* ending, WindowHandle dialog, int id) {
    if (*ending) return true;
    procedure(dialog, WM_COMMAND, (uint32_t)id, 0);
    if (*ending) procedure(dialog, WM_DESTROY, 0, 0);
    return *ending;
}

bool PressSetupButton(WindowHandle dialog, int id) {
    return SendDialogCommand(SetupDialogProc, &SetupDialog.ending, dialog, id);
}

void ReadSetupDialog(WindowHandle dialog) {
    WriteDebugLog(" DLG: Setup video config...");
    DemoConfig.fullScreen = SetupDialog.fullScreen;
    WriteDebugLog(" DLG: Setup audio config...");
    DemoConfig.noSound = false;
    if (SetupDialog.noSound) {
        // The answer is final: No runs with sound although the box stays ticked.
        int answer = ShowMessageBox(dialog, "Are you sure to run the demo without sound?", "No sound mode",
                                    MB_YESNO | MB_ICONQUESTION);
        DemoConfig.noSound = answer != IDNO;
    }
    int selected = SetupDialog.modeSelection;
    if (selected >= 0 && selected < DisplayModeCount) {
        DemoConfig.width = DisplayModeTable[selected].width;
        DemoConfig.height = DisplayModeTable[selected].height;
        DemoConfig.colourBits = DisplayModeTable[selected].colourBits;
    }
    snprintf(LogLineBuffer, sizeof LogLineBuffer, " DLG: Video mode is %dx%d %d bpp", DemoConfig.width,
             DemoConfig.height, DemoConfig.colourBits);
    WriteDebugLog(LogLineBuffer);
    DemoConfig.loop = SetupDialog.loop;
    WriteDebugLog(" DLG: Set config done.");
}

// One pass over the display's modes, adding those of `bits` until the table is full.
static void AddModesOfDepth(const PlatformDisplayMode* modes, int count, int bits) {
    for (int i = 0; i < count && DisplayModeCount < kDisplayModeCapacity; ++i) {
        if (modes[i].colourBits != bits) continue;
        int row = DisplayModeCount++;
        DisplayModeTable[row] = {modes[i].width, modes[i].height, (int8_t)bits};
        snprintf(SetupDialog.modeText[row], sizeof SetupDialog.modeText[row], "%dx%d %d bpp", modes[i].width,
                 modes[i].height, bits);
        if (row == 0 && bits == 16) SetupDialog.modeSelection = 0;
    }
}

// Without 16-bit modes (every current desktop) the display's own mode is preselected: full
// screen then draws at the display's resolution.
static void PreselectDesktopMode() {
    PlatformDisplayMode desktop;
    if (!GetDesktopDisplayMode(&desktop)) return;
    for (int row = 0; row < DisplayModeCount; ++row) {
        const DisplayMode& m = DisplayModeTable[row];
        if (m.width == desktop.width && m.height == desktop.height && m.colourBits == desktop.colourBits) {
            SetupDialog.modeSelection = row;
            return;
        }
    }
}

void ListDisplayModes(WindowHandle) {
    enum { kModesAsked = 4096 };
    static PlatformDisplayMode modes[kModesAsked];
    WriteDebugLog(" DLG: Enumerating display modes...");
    DisplayModeCount = 0;
    int count = ListPrimaryDisplayModes(modes, kModesAsked);
    // The 16-bit modes come first and the first of them is preselected; 32-bit modes follow.
    AddModesOfDepth(modes, count, 16);
    AddModesOfDepth(modes, count, 32);
    if (SetupDialog.modeSelection < 0) PreselectDesktopMode();
    snprintf(LogLineBuffer, sizeof LogLineBuffer, " DLG: %d modes found", DisplayModeCount);
    WriteDebugLog(LogLineBuffer);
}

void FormatCpuSpeed(char* out, int size, uint64_t ticks) {
    uint32_t v = (uint32_t)(ticks / 1000);  // hundredths of a megahertz
    snprintf(out, size, "CPU Speed: %u.%u Mhz ~", v / 100, v % 100);
}

void MeasureCpuSpeed(WindowHandle) {
    uint64_t first = ReadCycleCounter();
    uint64_t overhead = ReadCycleCounter() - first;
    uint64_t start = ReadCycleCounter();
    SleepMilliseconds(100);
    uint64_t end = ReadCycleCounter();
    FormatCpuSpeed(SetupDialog.cpuSpeed, sizeof SetupDialog.cpuSpeed, end - start - overhead);
    snprintf(LogLineBuffer, sizeof LogLineBuffer, " DLG: %s", SetupDialog.cpuSpeed);
    WriteDebugLog(LogLineBuffer);
}
