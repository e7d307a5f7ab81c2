#include "platform/events.h"

#include "platform/signals.h"
#include "platform/window.h"

#include <SDL2/SDL.h>
#include <deque>
#ifdef __EMSCRIPTEN__
#include "platform/web/web_page.h"
#endif

static WindowProcedure Procedure = nullptr;
static bool QuitPending = false;
static int QuitCode = 0;
static std::deque<PlatformMessage> Injected;  // messages posted by tests and tools

void SetWindowProcedure(WindowProcedure procedure) { Procedure = procedure; }

uint32_t VirtualKeyFromSdl(int key) {
    if (key >= 'a' && key <= 'z') return (uint32_t)(key - 'a' + 'A');
    if (key >= '0' && key <= '9') return (uint32_t)key;
    switch (key) {
    case SDLK_ESCAPE: return 27;
    case SDLK_RETURN: return 13;
    case SDLK_SPACE: return 32;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL: case SDLK_RCTRL: return 17;
    case SDLK_LALT: case SDLK_RALT: return 18;
    default: break;
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) return (uint32_t)(112 + key - SDLK_F1);
    return 0;  // keys the show never asks about
}

static bool TranslateWindowEvent(const SDL_WindowEvent& e, PlatformMessage* m) {
    switch (e.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        *m = {MSG_SIZE, 0, (uint32_t)(e.data1 & 0xFFFF) | ((uint32_t)(e.data2 & 0xFFFF) << 16)};
        return true;
    case SDL_WINDOWEVENT_MINIMIZED: *m = {MSG_ACTIVATE, 1u << 16, 0}; return true;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_FOCUS_GAINED: *m = {MSG_ACTIVATE, 1, 0}; return true;
    case SDL_WINDOWEVENT_CLOSE: *m = {MSG_CLOSE, 0, 0}; return true;
    default: return false;
    }
}

static bool TranslateEvent(const SDL_Event& e, PlatformMessage* m) {
    switch (e.type) {
    case SDL_QUIT: *m = {MSG_CLOSE, 0, 0}; return true;  // the window system wants us gone
    case SDL_WINDOWEVENT: return TranslateWindowEvent(e.window, m);
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        uint32_t vk = VirtualKeyFromSdl(e.key.keysym.sym);
        if (!vk) return false;
        *m = {e.type == SDL_KEYDOWN ? MSG_KEYDOWN : MSG_KEYUP, vk, 0};
        return true;
    }
    default: return false;
    }
}

static bool TerminationPosted = false;

bool PeekPlatformMessage(PlatformMessage* message) {
    if (TerminationRequested() && !TerminationPosted) {
        TerminationPosted = true;  // a signal closes the window like its close box
        *message = {MSG_CLOSE, 0, 0};
        return true;
    }
#ifdef __EMSCRIPTEN__
    // The page's full-screen button, or the browser leaving full screen itself (Escape, its own
    // controls): the show hears the key that switches it, so that its own state follows.
    if (PageTogglesFullScreen()) {
        Injected.push_back({MSG_KEYDOWN, 122, 0});
        Injected.push_back({MSG_KEYUP, 122, 0});
    }
#endif
    if (!Injected.empty()) {
        *message = Injected.front();
        Injected.pop_front();
        return true;
    }
    SDL_Event event;
    while (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&event)) {
        if (TranslateEvent(event, message)) return true;
        *message = {MSG_OTHER, 0, 0};
        return true;
    }
    if (QuitPending) {
        *message = {MSG_QUIT, (uint32_t)QuitCode, 0};
        return true;
    }
    return false;
}

void DispatchPlatformMessage(const PlatformMessage* message) {
    if (message->id == MSG_QUIT || message->id == MSG_OTHER || !Procedure) return;
    Procedure(DemoWindowHandle(), message->id, message->wParam, message->lParam);
}

void PumpOneMessage() {
    PlatformMessage message;
    if (PeekPlatformMessage(&message)) DispatchPlatformMessage(&message);
}

void PumpAllMessages() {
    PlatformMessage message;
    while (PeekPlatformMessage(&message) && message.id != MSG_QUIT) DispatchPlatformMessage(&message);
}

void PostQuitRequest(int exitCode) {
    QuitPending = true;
    QuitCode = exitCode;
}

bool QuitRequestPending() { return QuitPending; }

void ClearQuitRequest() {
    QuitPending = false;
    QuitCode = 0;
}

void PostPlatformMessage(int id, uint32_t wParam, uint32_t lParam) {
    Injected.push_back({id, wParam, lParam});
}
