// The dialogs' windows, drawn with Dear ImGui. The logic they drive is in setup_dialog and
// sound_dialog; these routines only run the windows.
#pragma once

#include "platform/msgbox.h"

// Shows the setup dialog and returns when it has closed: 0, or non-zero when it could not be
// shown. KAMORA_DIALOG=run or =exit presses that button as soon as the dialog has initialised;
// =nosound ticks "No sound" and presses Run.
int RunSetupDialogWindow();

// Shows the sound dialog modally over the setup dialog: 0, or non-zero when it could not be shown.
int RunSoundDialogWindow();

// The setup dialog in steps, for tests and screenshots: open and initialise (false when it
// cannot be shown), one frame with its command (true once the dialog has closed), close.
bool OpenSetupDialogWindow();
bool StepSetupDialogWindow();
void CloseSetupDialogWindow();
// The open setup dialog's window (null when closed), to send it input in tests.
WindowHandle SetupDialogWindowHandle();
