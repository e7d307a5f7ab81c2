// The setup dialog shown before the show.
#pragma once

// Shows the dialog; on return DemoConfig holds the choices (`cancelled` set or not). Run has
// already started the sound device.
void RunSetupDialog(const char* title);
