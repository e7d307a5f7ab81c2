// The two dialogs drawn from their templates (rectangles in dialog units). Every button press,
// click or key becomes a command that the dialogs' logic handles between two frames.
#include "setup/dialog_ui.h"

#include "platform/dialog_window.h"
#include "setup/dialog_frame.h"
#include "setup/setup_dialog.h"
#include "setup/sound_dialog.h"

#include <cstdlib>
#include <cstring>

// Tab order is the templates' control order.
static const DialogControl kSetupControls[] = {
    {IDC_RUN, kDialogButton, 'R'},         {IDC_SOUND, kDialogButton, 'S'},
    {IDC_ABOUT, kDialogButton, 'A'},       {IDC_EXIT, kDialogButton, 'E'},
    {IDC_MODE_LIST, kDialogList, 0},       {IDC_FULLSCREEN, kDialogCheckBox, 0},
    {IDC_NO_SOUND, kDialogCheckBox, 0},    {IDC_LOOP, kDialogCheckBox, 0},
};
enum { kTabRun, kTabSound, kTabAbout, kTabExit, kTabModes, kTabFullScreen, kTabNoSound, kTabLoop };

static const DialogControl kSoundControls[] = {
    {IDC_DEVICE_LIST, kDialogList, 0},     {IDC_MIX_RATE_LIST, kDialogList, 0},
    {IDC_USE_EAX, kDialogCheckBox, 0},     {IDC_EAX_LIST, kDialogList, 0},
    {IDC_ENABLE_DSP, kDialogCheckBox, 0},  {IDC_SOUND_ABOUT, kDialogButton, 0},
    {IDC_SOUND_OK, kDialogButton, 0},      {IDC_SOUND_CANCEL, kDialogButton, 0},
};
enum { kTabDevice, kTabMixRate, kTabUseEax, kTabEaxList, kTabDsp, kTabSoundAbout, kTabOk, kTabCancel };

static DialogFrame SetupFrame;

static const char* ModeText(int index) { return SetupDialog.modeText[index]; }
static const char* DeviceText(int index) { return SoundDialog.deviceText[index]; }
static const char* MixRateText(int index) { return MixRateTexts[index]; }
static const char* PresetText(int index) { return EaxPresetNames[index]; }

static void ApplySetupKeys(const DialogKeys& keys, bool* scroll) {
    if (keys.toggleId == IDC_FULLSCREEN) SetupDialog.fullScreen = !SetupDialog.fullScreen;
    if (keys.toggleId == IDC_NO_SOUND) SetupDialog.noSound = !SetupDialog.noSound;
    if (keys.toggleId == IDC_LOOP) SetupDialog.loop = !SetupDialog.loop;
    if (keys.listId == IDC_MODE_LIST) {
        SetupDialog.modeSelection = MoveSelection(SetupDialog.modeSelection, keys.listDelta, DisplayModeCount);
        *scroll = true;
    }
}

// One frame of the setup dialog; returns the id of the button pressed (0 for none).
static int DrawSetupDialog(const DialogKeys& keys) {
    DialogFrame* f = &SetupFrame;
    bool scroll = false;
    ApplySetupKeys(keys, &scroll);
    int pressed = keys.pressId;
    DialogGroupBox(f, "Display Setting", 7, 7, 105, 57);
    DialogListBox(f, kTabModes, ModeText, DisplayModeCount, &SetupDialog.modeSelection, scroll, 13, 18, 91, 39);
    DialogGroupBox(f, "Options", 115, 7, 107, 57);
    DialogCheckBox(f, kTabFullScreen, "Fullscreen", &SetupDialog.fullScreen, 121, 18, 49, 8);
    DialogCheckBox(f, kTabNoSound, "No sound", &SetupDialog.noSound, 121, 26, 46, 10);
    DialogCheckBox(f, kTabLoop, "Loop demo", &SetupDialog.loop, 121, 35, 51, 9);
    DialogText(f, SetupDialog.cpuSpeed, 121, 50);
    DialogIcon(f, 196, 15, 20, 20);
    if (DialogButton(f, kTabRun, "&Run", 7, 71, 51, 14)) pressed = IDC_RUN;
    if (DialogButton(f, kTabSound, "&Sound", 60, 71, 52, 14)) pressed = IDC_SOUND;
    if (DialogButton(f, kTabAbout, "&About", 115, 71, 51, 14)) pressed = IDC_ABOUT;
    if (DialogButton(f, kTabExit, "&Exit", 170, 71, 52, 14)) pressed = IDC_EXIT;
    return pressed;
}

// KAMORA_DIALOG=run or =exit: scripts and tests press that button at once; =nosound ticks
// "No sound" first, then presses Run. True when closed.
static bool PressFromEnvironment() {
    const char* press = getenv("KAMORA_DIALOG");
    if (!press) return false;
    if (strcmp(press, "run") == 0) return PressSetupButton(SetupFrame.window, IDC_RUN);
    if (strcmp(press, "nosound") == 0) {
        SetupDialog.noSound = true;
        return PressSetupButton(SetupFrame.window, IDC_RUN);
    }
    if (strcmp(press, "exit") == 0) return PressSetupButton(SetupFrame.window, IDC_EXIT);
    return false;
}

static bool SetupClosed = true;

bool OpenSetupDialogWindow() {
    SetupFrame = DialogFrame{};
    SetupFrame.controls = kSetupControls;
    SetupFrame.controlCount = (int)(sizeof kSetupControls / sizeof kSetupControls[0]);
    SetupFrame.defaultId = IDC_RUN;
    SetupFrame.cancelId = IDC_EXIT;
    if (!OpenDialogFrame(&SetupFrame, "Vardenix", 229, 92)) return false;
    SetupDialogProc(SetupFrame.window, WM_INITDIALOG, 0, 0);
    SetDialogWindowTitle(SetupFrame.window, SetupDialog.caption);
    SetupFrame.focus = kTabModes;
    SetupClosed = PressFromEnvironment();
    if (!SetupClosed) ShowDialogFrame(&SetupFrame);
    return true;
}

bool StepSetupDialogWindow() {
    if (SetupClosed) return true;
    DialogKeys keys = BeginDialogFrame(&SetupFrame);
    int pressed = DrawSetupDialog(keys);
    EndDialogFrame(&SetupFrame);
    if (pressed) SetupClosed = PressSetupButton(SetupFrame.window, pressed);
    return SetupClosed;
}

void CloseSetupDialogWindow() {
    CloseDialogFrame(&SetupFrame);
    SetupClosed = true;
}

WindowHandle SetupDialogWindowHandle() { return SetupFrame.window; }

int RunSetupDialogWindow() {
    if (!OpenSetupDialogWindow()) return 1;
    while (!StepSetupDialogWindow()) {
    }
    CloseSetupDialogWindow();
    return 0;
}

static int ApplySoundKeys(const DialogKeys& keys) {
    if (keys.toggleId == IDC_ENABLE_DSP) SoundDialog.enableDsp = !SoundDialog.enableDsp;
    if (keys.toggleId == IDC_USE_EAX) {
        SoundDialog.useEax = !SoundDialog.useEax;
        return IDC_USE_EAX;  // a click of the box: its command follows
    }
    if (keys.listId == IDC_DEVICE_LIST)
        SoundDialog.deviceSelection = MoveSelection(SoundDialog.deviceSelection, keys.listDelta, SoundDialog.deviceCount);
    if (keys.listId == IDC_MIX_RATE_LIST)
        SoundDialog.mixRateSelection = MoveSelection(SoundDialog.mixRateSelection, keys.listDelta, kMixRateCount);
    if (keys.listId == IDC_EAX_LIST && SoundDialog.eaxListEnabled)
        SoundDialog.eaxSelection = MoveSelection(SoundDialog.eaxSelection, keys.listDelta, kEaxPresetCount);
    return keys.pressId;
}

static int DrawSoundDialog(DialogFrame* f, const DialogKeys& keys) {
    int pressed = ApplySoundKeys(keys);
    DialogGroupBox(f, "Audio Setup", 7, 7, 195, 89);
    DialogText(f, "Output device:", 13, 18);
    DialogDropDown(f, kTabDevice, DeviceText, SoundDialog.deviceCount, &SoundDialog.deviceSelection, true, 13, 28, 182);
    DialogGroupBox(f, "Quality", 13, 43, 81, 48);
    DialogText(f, "Mix rate:", 21, 57);
    DialogDropDown(f, kTabMixRate, MixRateText, kMixRateCount, &SoundDialog.mixRateSelection, true, 21, 66, 66);
    DialogGroupBox(f, "If avaliable", 97, 43, 97, 48);
    if (DialogCheckBox(f, kTabUseEax, "Use EAX environment", &SoundDialog.useEax, 102, 53, 83, 11)) pressed = IDC_USE_EAX;
    DialogDropDown(f, kTabEaxList, PresetText, kEaxPresetCount, &SoundDialog.eaxSelection, SoundDialog.eaxListEnabled,
                   101, 64, 89);
    DialogCheckBox(f, kTabDsp, "Enable DSP", &SoundDialog.enableDsp, 102, 79, 54, 10);
    if (DialogButton(f, kTabSoundAbout, "About", 7, 104, 50, 14)) pressed = IDC_SOUND_ABOUT;
    if (DialogButton(f, kTabOk, "OK", 100, 104, 50, 14)) pressed = IDC_SOUND_OK;
    if (DialogButton(f, kTabCancel, "Cancel", 152, 104, 50, 14)) pressed = IDC_SOUND_CANCEL;
    return pressed;
}

// The setup dialog stays painted under the sound dialog (it takes no input meanwhile).
static void RepaintSetupDialog() {
    if (!SetupFrame.context) return;
    BeginPaintOnlyFrame(&SetupFrame);
    DrawSetupDialog(DialogKeys{0, 0, 0, 0});
    EndDialogFrame(&SetupFrame);
}

int RunSoundDialogWindow() {
    DialogFrame frame = DialogFrame{};
    frame.controls = kSoundControls;
    frame.controlCount = (int)(sizeof kSoundControls / sizeof kSoundControls[0]);
    frame.defaultId = IDC_SOUND_OK;
    frame.cancelId = IDC_SOUND_CANCEL;
    bool opened = OpenDialogFrame(&frame, "Sound Config", 209, 125);
    if (opened) {
        SoundDialogProc(frame.window, WM_INITDIALOG, 0, 0);
        ShowDialogFrame(&frame);
        bool closed = false;
        while (!closed) {
            DialogKeys keys = BeginDialogFrame(&frame);
            int pressed = DrawSoundDialog(&frame, keys);
            EndDialogFrame(&frame);
            RepaintSetupDialog();
            if (pressed) closed = PressSoundButton(frame.window, pressed);
        }
        CloseDialogFrame(&frame);
    }
    if (SetupFrame.context) SelectDialogFrame(&SetupFrame);
    return opened ? 0 : 1;
}
