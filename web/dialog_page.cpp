// The setup dialog in the browser: the page's start screen shows its choices (web/page.js), so
// the dialog runs its own logic with what the viewer picked there and presses Run at once.
#include "host/demo_config.h"
#include "platform/web/web_page.h"
#include "setup/dialog_ui.h"
#include "setup/setup_dialog.h"

#include <cstdio>

int RunSetupDialogWindow() {
    SetupDialogProc(nullptr, WM_INITDIALOG, 0, 0);
    const PageChoices choices = ReadPageChoices();
    // The mode list offers the size picked on the page, selected.
    DisplayModeTable[0] = {choices.width, choices.height, 32};
    DisplayModeCount = 1;
    snprintf(SetupDialog.modeText[0], sizeof SetupDialog.modeText[0], "%dx%d 32 bpp", choices.width,
             choices.height);
    SetupDialog.modeSelection = 0;
    SetupDialog.fullScreen = choices.fullScreen;
    SetupDialog.noSound = !choices.sound;
    SetupDialog.loop = choices.loop;
    // Run keeps a desktop dialog open when the sound cannot start (its box has said why); the page
    // has shown that message and goes back to its start screen instead.
    if (!PressSetupButton(nullptr, IDC_RUN)) DemoConfig.cancelled = true;
    return 0;
}

// One output on the page: Web Audio's, at its own rate.
int RunSoundDialogWindow() { return 1; }

bool OpenSetupDialogWindow() { return false; }
bool StepSetupDialogWindow() { return true; }
void CloseSetupDialogWindow() {}
WindowHandle SetupDialogWindowHandle() { return nullptr; }
