// Message boxes: the only way the show talks to the viewer outside the picture.
#pragma once

typedef struct PlatformWindow* WindowHandle;  // the demo window or a dialog; null for none

// Box styles and answers, numbered as on the system the show was first written for,
// so that every caller reads like the original message-box calls.
enum : unsigned {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_SYSTEMMODAL = 0x1000,
};
enum { IDOK = 1, IDYES = 6, IDNO = 7 };

// Shows a modal box owned by `owner` and returns the answer (IDOK, IDYES or IDNO).
// With KAMORA_MSGBOX=stderr it never blocks: it prints "msgbox: <caption>: <text>" (line feeds
// written as \n) and answers with KAMORA_MSGBOX_ANSWER (yes|no, default yes).
int ShowMessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style);

// Formats a line the way the stderr mode prints it; exposed for tests.
void FormatMessageLine(char* out, int size, const char* caption, const char* text);
