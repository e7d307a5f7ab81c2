#include "host/demo_config.h"

const char* const DemoTitle = "Ka Mora - Vardenix (Party)";

DemoConfigRecord DemoConfig = {640, 480, false, false, 32, false, 0, false, false, 0, 44100, 0, nullptr};
bool ShowSetupDialog = true;

int32_t WindowWidth = 640;
int32_t WindowHeight = 480;
int32_t WindowBits = 16;

void SetDefaultConfig() {
    DemoConfig.width = 640;
    DemoConfig.height = 480;
    DemoConfig.cancelled = false;
    DemoConfig.fullScreen = false;
    DemoConfig.colourBits = 32;
    DemoConfig.useEax = false;
    DemoConfig.eaxPreset = 0;
    DemoConfig.noSound = false;
    DemoConfig.device = 0;
    DemoConfig.mixRate = 44100;
    DemoConfig.mixRateIndex = 0;
}
