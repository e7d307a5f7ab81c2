// Failure paths release everything early and the shutdown sequence releases again: the second
// round must do nothing.
#include "gfx/window.h"
#include "host/debug_log.h"
#include "host/demo.h"
#include "host/demo_config.h"
#include "host/timeline.h"
#include "host/win_main.h"
#include "music/music.h"
#include "run_command.h"

#include <gtest/gtest.h>
#include <atomic>
#include <chrono>
#include <thread>
#include <unistd.h>

TEST(Shutdown, EveryReleaseIsSafeTwice) {
    std::string folder = MakeTestFolder("shutdown_twice");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    ASSERT_TRUE(OpenDebugLog());
    SetHiddenWindow(true);
    ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
    FILE* music = fopen("music.tmp", "w");
    fclose(music);
    snprintf(MusicPath, sizeof MusicPath, "%s/music.tmp", folder.c_str());

    WriteDebugLog(" first round");
    DestroyDemoWindow();
    UnloadDemo();  // closes the log
    EXPECT_NE(access("music.tmp", F_OK), 0);
    StopSound();
    UnloadDemo();
    StopSound();
    DestroyDemoWindow();
    EXPECT_EQ(GLContext.window, nullptr);
    EXPECT_FALSE(LogEnabled);

    std::string log = ReadWholeFile("ddebug.log");
    EXPECT_NE(log.find(" - Releasing DC and device context..."), std::string::npos);
    EXPECT_EQ(log.find("CRASH"), std::string::npos) << log;
    ASSERT_EQ(chdir(previous), 0);
}

TEST(Shutdown, SecondDestroyOnlyLogs) {
    std::string folder = MakeTestFolder("shutdown_destroy");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    SetHiddenWindow(true);
    ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
    DestroyDemoWindow();
    ASSERT_TRUE(OpenDebugLog());
    DestroyDemoWindow();
    CloseDebugLog();
    std::string log = ReadWholeFile("ddebug.log");
    EXPECT_EQ(log.find(" - Releasing DC and device context..."), std::string::npos) << log;
    EXPECT_NE(log.find("   CRASH: Could not unregister class!"), std::string::npos) << log;
    EXPECT_NE(log.find(" - OpenGL destroy sequence done."), std::string::npos);
    ASSERT_EQ(chdir(previous), 0);
}

// A minimise during extraction, then a failing loader: the load's failure path has destroyed the
// window, and the loop must end although the window never became active again.
TEST(Shutdown, AFailedLoadEndsTheLoopWhileMinimised) {
    SetHiddenWindow(true);
    ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
    DestroyDemoWindow();
    WindowActive = false;
    LoadingDone = DemoFailed = true;
    std::atomic<bool> returned{false}, rescued{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 500 && !returned; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!returned) {
            rescued = true;
            KeyState[27] = true;  // ends a loop that spins on
        }
    });
    EXPECT_EQ(RunMainLoop(), 0);
    returned = true;
    watchdog.join();
    EXPECT_FALSE(rescued) << "the loop kept spinning with no window left";
    KeyState[27] = false;
    WindowActive = true;
    LoadingDone = DemoFailed = false;
}
