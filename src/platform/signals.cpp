#include "platform/signals.h"

#include "platform/events.h"

#include <csignal>

static volatile sig_atomic_t Terminating = 0;  // termination signals so far
static volatile sig_atomic_t Held = 0;

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

bool TerminationRequested() { return Terminating != 0; }
int TerminationSignalCount() { return Terminating; }
