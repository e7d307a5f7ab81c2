#include "setup/sound_dialog.h"

#include "host/debug_log.h"
#include "host/demo_config.h"
#include "music/sound_backend.h"
#include "setup/setup_dialog.h"

#include <cstdio>

const char* const MixRateTexts[kMixRateCount] = {"44100 Hz", "32000 Hz", "22050 Hz", "11025 Hz", "8000 Hz"};
const int32_t MixRates[kMixRateCount] = {44100, 32000, 22050, 11025, 8000};
const char* const EaxPresetNames[kEaxPresetCount] = {
    "None",       "Generic",  "Padded Cell",      "Room",        "Bathroom",       "Living Room", "Stone Room",
    "Auditorium", "Concert Hall", "Cave",         "Arena",       "Hangar",         "Carpeted Hallway",
    "Hallway",    "Stone Corridor", "Alley",      "Forest",      "City",           "Mountains",   "Quarry",
    "Plain",      "Parking Lot", "Sewer Pipe",    "Under Water", "Drugged",        "Dizzy",       "Psychotic",
};

SoundDialogState SoundDialog;

static const char* const kSoundAboutText =
    "Music powered by Ka Mora's own sound back end.\n"
    "MP3 decoding: libmpg123, (c) the mpg123 project, LGPL 2.1.\n"
    "Audio output: SDL2, (c) Sam Lantinga, zlib licence.\n"
    "https://www.mpg123.de - https://www.libsdl.org";

static int SelectionIn(int index, int count) { return index >= 0 && index < count ? index : -1; }

static void ListDevices() {
    WriteDebugLog(" DLG Sound: Retrieving device description...");
    const char* description = nullptr;
    for (int device = 0; device < kSoundDeviceCapacity && SoundGetDeviceDescription(device, &description); ++device) {
        // Long names are cut to the list's 99 bytes, on a whole character.
        CopyDeviceName(SoundDialog.deviceText[device], (int)sizeof SoundDialog.deviceText[device],
                       description ? description : "");
        SoundDialog.deviceCount = device + 1;
    }
    snprintf(LogLineBuffer, sizeof LogLineBuffer, " DLG Sound: %d devices found", SoundDialog.deviceCount);
    WriteDebugLog(LogLineBuffer);
}

// Each opening starts from the fixed lists and the current DemoConfig; the preset list always
// starts at "None" with the EAX box unticked, and stays disabled until the box is ticked.
static void InitSoundDialog() {
    WriteDebugLog(" DLG Sound: Initializing...");
    SoundDialog = SoundDialogState{};
    ListDevices();
    SoundDialog.deviceSelection = SelectionIn(DemoConfig.device, SoundDialog.deviceCount);
    SoundDialog.mixRateSelection = SelectionIn(DemoConfig.mixRateIndex, kMixRateCount);
    SoundDialog.eaxSelection = 0;
    WriteDebugLog(" DLG Sound: Init done.");
}

static void PressOk() {
    DemoConfig.device = SoundDialog.deviceSelection;
    DemoConfig.mixRateIndex = (int8_t)SoundDialog.mixRateSelection;
    if (SoundDialog.mixRateSelection >= 0 && SoundDialog.mixRateSelection < kMixRateCount)
        DemoConfig.mixRate = MixRates[SoundDialog.mixRateSelection];
    DemoConfig.useEax = SoundDialog.useEax;
    if (SoundDialog.useEax) DemoConfig.eaxPreset = SoundDialog.eaxSelection;
    WriteDebugLog(" DLG Sound: Canceled by user (Ok button)");
    SoundDialog.ending = true;
}

static void HandleCommand(WindowHandle dialog, int id) {
    switch (id) {
    case IDC_SOUND_OK: PressOk(); break;
    case IDC_SOUND_CANCEL:
        WriteDebugLog(" DLG Sound: Canceled by user (Cancel button)");
        SoundDialog.ending = true;
        break;
    case IDC_SOUND_ABOUT:
        ShowMessageBox(dialog, kSoundAboutText, "Ka Mora Sound System", MB_OK | MB_ICONINFORMATION);
        break;
    case IDC_USE_EAX:
        ShowMessageBox(dialog, "CheckEAX!", "debug", MB_OK);
        SoundDialog.eaxListEnabled = SoundDialog.useEax;
        break;
    default: break;
    }
}

long SoundDialogProc(WindowHandle dialog, int message, uint32_t wParam, uint32_t) {
    switch (message) {
    case WM_INITDIALOG: InitSoundDialog(); return 0;
    case WM_COMMAND: HandleCommand(dialog, (int)(wParam & 0xFFFF)); return 0;
    case WM_DESTROY:
        WriteDebugLog(" DLG Sound: Canceled (WM_DESTROY message)");
        SoundDialog.ending = true;
        return 1;
    default: return 0;
    }
}

bool PressSoundButton(WindowHandle dialog, int id) {
    return SendDialogCommand(SoundDialogProc, &SoundDialog.ending, dialog, id);
}
