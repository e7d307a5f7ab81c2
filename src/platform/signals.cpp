#include "platform/signals.h"

#include <csignal>
#ifdef _WIN32
#include <windows.h>
#endif

static volatile sig_atomic_t Terminating = 0;  // termination signals so far
static volatile sig_atomic_t Held = 0;

#ifdef _WIN32
// Ctrl-C, Ctrl-Break and closing the console window are Windows' termination signals. The handler
// runs on a thread of its own; answering FALSE hands the event to the default handler, which
// ends the program at once.
static BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
    // One request is enough: a second one ends the program, unless a file is being finished.
    if (Terminating && !Held) return FALSE;
    if (Terminating < 1000) Terminating = Terminating + 1;  // counted, as a held one's are
    // Windows ends the process as soon as the handler of a closed console returns: the time it
    // waits here (Windows allows about five seconds) is the shutdown's, which ends the process.
    if (event == CTRL_CLOSE_EVENT) Sleep(5000);
    return TRUE;
}

void InstallTerminationHandlers() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

void HoldTerminationSignals(bool hold) { Held = hold; }
#else
static void OnTerminate(int number) {
    if (Terminating < 1000) Terminating = Terminating + 1;
    // One request is enough: a second signal (a shutdown that does not end) ends the program,
    // unless a file is being finished that it would leave half-made.
    if (!Held) signal(number, SIG_DFL);
}

void InstallTerminationHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void HoldTerminationSignals(bool hold) {
    Held = hold;
    if (hold) {
        InstallTerminationHandlers();  // one that came before has put its default back already
    } else if (Terminating) {
        signal(SIGINT, SIG_DFL);
        signal(SIGTERM, SIG_DFL);
    }
}
#endif

bool TerminationRequested() { return Terminating != 0; }
int TerminationSignalCount() { return Terminating; }
