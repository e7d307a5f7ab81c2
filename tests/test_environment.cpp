// What every test program runs with unless its caller says otherwise: message boxes that print
// instead of waiting, the dummy audio driver, and a setup dialog that presses Run at once.
#include <cstdlib>

static const bool TestEnvironment = [] {
    setenv("KAMORA_MSGBOX", "stderr", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("KAMORA_DIALOG", "run", 0);
    return true;
}();
