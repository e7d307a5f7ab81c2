// The viewer's choices and the window size the show runs at.
#pragma once

#include <cstdint>

extern const char* const DemoTitle;  // "Ka Mora - Vardenix (Party)"

struct DemoConfigRecord {
    int32_t width;
    int32_t height;
    bool cancelled;
    bool fullScreen;
    int8_t colourBits;
    bool useEax;
    int32_t eaxPreset;
    bool noSound;
    bool loop;
    int32_t device;
    int32_t mixRate;
    int8_t mixRateIndex;
    const char* title;
};

extern DemoConfigRecord DemoConfig;
extern bool ShowSetupDialog;

// What the window is created with (in full screen: the resolution the picture is drawn at). They
// take the dialog's choice only when the dialog ran: without it the show opens 640 x 480 at 16 bits.
extern int32_t WindowWidth;
extern int32_t WindowHeight;
extern int32_t WindowBits;

// Every field but `loop` and `title` back to its default.
void SetDefaultConfig();
