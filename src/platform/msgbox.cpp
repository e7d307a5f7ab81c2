#include "platform/msgbox.h"

#include "platform/window.h"

#include <SDL2/SDL.h>
#include <cstdio>
#ifdef __EMSCRIPTEN__
#include "platform/web/web_page.h"
#endif
#include <cstdlib>
#include <cstring>

static bool UseStderrBoxes() {
    const char* mode = getenv("KAMORA_MSGBOX");
    return mode && strcmp(mode, "stderr") == 0;
}

void FormatMessageLine(char* out, int size, const char* caption, const char* text) {
    int n = snprintf(out, size, "msgbox: %s: ", caption ? caption : "");
    for (const char* p = text ? text : ""; *p && n < size - 3; ++p) {
        if (*p == '\n') {
            out[n++] = '\\';
            out[n++] = 'n';
        } else {
            out[n++] = *p;
        }
    }
    out[n < size ? n : size - 1] = 0;
}

static int AnswerFromEnvironment(unsigned style) {
    if ((style & 0xF) != MB_YESNO) return IDOK;
    const char* answer = getenv("KAMORA_MSGBOX_ANSWER");
    return (answer && strcmp(answer, "no") == 0) ? IDNO : IDYES;
}

static Uint32 BoxFlags(unsigned style) {
    switch (style & 0xF0) {
    case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
    if (UseStderrBoxes()) {
        static char line[4096];
        FormatMessageLine(line, sizeof line, caption, text);
        fprintf(stderr, "%s\n", line);
        fflush(stderr);
        return AnswerFromEnvironment(style);
    }
    const bool yesNo = (style & 0xF) == MB_YESNO;
#ifdef __EMSCRIPTEN__
    // A page never blocks on a box: a message shows on it, and a question takes its default
    // answer (the start screen has asked the viewer already).
    if (!yesNo) ShowPageMessage(caption ? caption : "", text ? text : "", (style & 0xF0) == MB_ICONERROR);
    fprintf(stdout, "msgbox: %s: %s\n", caption ? caption : "", text ? text : "");
    return yesNo ? IDYES : IDOK;
#endif
    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    if (yesNo) {
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
    } else {
        buttons[count++] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                            IDOK, "OK"};
    }
    SDL_MessageBoxData box = {BoxFlags(style), PlatformSdlWindow(owner), caption, text,
                              count, buttons, nullptr};
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        // No display to show it on: the text still has to reach the viewer.
        fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
        return yesNo ? IDNO : IDOK;
    }
    return answer;
}
