// SIGINT and SIGTERM become one close request for the window procedure; a second signal ends the
// program. Each case runs in a child process, so the flag never reaches the other tests.
#include "platform/events.h"
#include "platform/signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

// Exit code 3 when the signal arrived as exactly one MSG_CLOSE.
static void ExitWithCloseCount(int signal) {
    InstallTerminationHandlers();
    bool before = TerminationRequested();
    raise(signal);
    PlatformMessage message;
    int closes = 0;
    for (int i = 0; i < 4 && PeekPlatformMessage(&message); ++i) closes += message.id == MSG_CLOSE;
    exit(!before && TerminationRequested() && closes == 1 ? 3 : 4);
}

TEST(TerminationSignals, OneSignalBecomesOneCloseRequest) {
    EXPECT_EXIT(ExitWithCloseCount(SIGINT), testing::ExitedWithCode(3), "");
    EXPECT_EXIT(ExitWithCloseCount(SIGTERM), testing::ExitedWithCode(3), "");
}

TEST(TerminationSignals, ASecondSignalEndsTheProgram) {
    EXPECT_EXIT(
        {
            InstallTerminationHandlers();
            raise(SIGTERM);
            raise(SIGTERM);
            exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}
