// Window messages: SDL events translated into the few messages the window procedure handles.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

enum PlatformMessageId {
    MSG_NONE,
    MSG_QUIT,       // the quit request, taken by the main loop
    MSG_SIZE,       // lParam: width in the low word, height in the high word
    MSG_ACTIVATE,   // wParam high word non-zero: minimised
    MSG_CLOSE,      // the window's close box (or a termination request)
    MSG_KEYDOWN,    // wParam: virtual-key code
    MSG_KEYUP,
    MSG_SYSCOMMAND, // wParam: SC_SCREENSAVE or SC_MONITORPOWER
    MSG_OTHER,
};
enum : uint32_t { SC_SCREENSAVE = 0xF140, SC_MONITORPOWER = 0xF170 };

struct PlatformMessage {
    int id;
    uint32_t wParam;
    uint32_t lParam;
};

typedef long (*WindowProcedure)(WindowHandle window, int message, uint32_t wParam, uint32_t lParam);

// The procedure that every dispatched message of the demo window goes to.
void SetWindowProcedure(WindowProcedure procedure);

// Takes one message without waiting. False when the queue is empty. A quit request is returned
// (as MSG_QUIT, its exit code in wParam) only once the queue holds nothing else, like its model.
bool PeekPlatformMessage(PlatformMessage* message);
void DispatchPlatformMessage(const PlatformMessage* message);

// One pump step: take one waiting message, if any, and dispatch it.
void PumpOneMessage();
// Takes and dispatches every waiting message (long extractions call this now and then).
void PumpAllMessages();

// Posts the quit request. It stays posted until the main loop takes it: a close during loading
// can never be lost in a pump step.
void PostQuitRequest(int exitCode);
bool QuitRequestPending();
void ClearQuitRequest();

// Tests and tools inject messages as if the window system had sent them.
void PostPlatformMessage(int id, uint32_t wParam, uint32_t lParam);

// Win32 virtual-key code for an SDL key code: letters and digits as upper-case ASCII.
uint32_t VirtualKeyFromSdl(int sdlKey);
