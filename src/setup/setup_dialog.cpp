// Placeholder until the dialogs land: behaves as Run pressed on the default settings.
#include "setup/setup_dialog.h"

#include "host/debug_log.h"
#include "host/demo_config.h"
#include "music/music.h"

void RunSetupDialog(const char* title) {
    WriteDebugLog(" DLG: Creating dialog...");
    DemoConfig.title = title;
    SetDefaultConfig();
    DemoConfig.cancelled = !StartSound(nullptr);
}
