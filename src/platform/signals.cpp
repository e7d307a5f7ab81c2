#include "platform/signals.h"

#include "platform/events.h"

#include <csignal>

static volatile sig_atomic_t Terminating = 0;

static void OnTerminate(int) { Terminating = 1; }

void InstallTerminationHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnTerminate;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TerminationRequested() { return Terminating != 0; }
