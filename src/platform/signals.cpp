#include "platform/signals.h"

#include "platform/events.h"

#include <csignal>

static volatile sig_atomic_t Terminating = 0;

static void OnTerminate(int) { Terminating = 1; }

void InstallTerminationHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    // One request is enough: a second signal (a shutdown that does not end) ends the program.
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TerminationRequested() { return Terminating != 0; }
