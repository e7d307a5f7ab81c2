// The sound dialog (template 104), opened from the setup dialog's Sound button: output device,
// mix rate and reverb preset. OK writes them into DemoConfig; the device opens later, on Run.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

// Control ids of the sound dialog.
enum : int {
    IDC_SOUND_OK = 1005,
    IDC_SOUND_CANCEL = 2,
    IDC_SOUND_ABOUT = 3,
    IDC_DEVICE_LIST = 1019,
    IDC_MIX_RATE_LIST = 1020,
    IDC_USE_EAX = 1026,
    IDC_EAX_LIST = 1025,
    IDC_ENABLE_DSP = 1027,
};

enum { kSoundDeviceCapacity = 64, kMixRateCount = 5, kEaxPresetCount = 27 };

extern const char* const MixRateTexts[kMixRateCount];
extern const int32_t MixRates[kMixRateCount];
extern const char* const EaxPresetNames[kEaxPresetCount];

// What the sound dialog's controls hold.
struct SoundDialogState {
    char deviceText[kSoundDeviceCapacity][100];  // device number = list index
    int deviceCount;
    int deviceSelection;    // -1: nothing selected
    int mixRateSelection;
    bool useEax;            // "Use EAX environment"
    int eaxSelection;
    bool eaxListEnabled;    // the preset list follows the EAX box
    bool enableDsp;         // read by nothing
    bool ending;
};
extern SoundDialogState SoundDialog;

long SoundDialogProc(WindowHandle dialog, int message, uint32_t wParam, uint32_t lParam);
// SendDialogCommand to the sound dialog.
bool PressSoundButton(WindowHandle dialog, int id);
