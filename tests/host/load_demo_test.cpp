// Loading the whole show behind the loading picture, on the virtual clock: the FrameTimer starts
// again when loading ends, and a music that cannot start after a good load ends the show.
#include "gfx/window.h"
#include "host/debug_log.h"
#include "host/demo.h"
#include "host/demo_config.h"
#include "host/frame_timer.h"
#include "host/timeline.h"
#include "host/win_main.h"
#include "music/music.h"
#include "music/sound_backend.h"
#include "package/package.h"
#include "platform/clock.h"
#include "run_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(LoadDemo, AMusicThatCannotStartAfterAGoodLoadEndsTheShowCleanly) {
    std::string folder = MakeTestFolder("load_demo_music_start");
    fs::create_symlink(std::string(KAMORA_BUILD_DIR) + "/KaMora.ppk", folder + "/KaMora.ppk");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder.c_str()), 0);
    testing::internal::CaptureStderr();
    bool whole = InitUnpacker(nullptr, "KaMora.ppk", 0, false) && ExtractFile(nullptr, "ese.raw");
    DeleteExtractedFile();
    testing::internal::GetCapturedStderr();
    if (!whole) {
        ASSERT_EQ(chdir(previous), 0);
        GTEST_SKIP() << "build/KaMora.ppk does not hold the show's entries";
    }
    ASSERT_TRUE(OpenDebugLog());
    SetDefaultConfig();
    ASSERT_TRUE(StartSound(nullptr));
    SoundStop();  // the output is stopped, so playing the music fails
    SetHiddenWindow(true);
    ASSERT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, false), 1);
    StartVirtualClock(50);
    SetVirtualFrame(0);
    ASSERT_TRUE(PreloadDemo());
    StartFrameTimer();
    SetVirtualFrame(150);  // 3 s in: the loading picture has faded in, loading starts

    testing::internal::CaptureStderr();
    EXPECT_TRUE(RenderFrame());
    std::string boxes = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadFrameTimer(), 0.0) << "the FrameTimer did not start again at the end of loading";
    EXPECT_EQ(boxes, "msgbox: Bass error: Unable to Play sound module!\n");
    EXPECT_EQ(MusicStream, 0u) << "the sound was not stopped";
    EXPECT_EQ(GLContext.window, nullptr);
    EXPECT_FALSE(LogEnabled);
    EXPECT_EQ(MusicPath[0], 0);
    EXPECT_FALSE(RenderFrame());
    EXPECT_EQ(RunMainLoop(), 0);  // the show ends at once, with exit code 0

    std::string log = ReadWholeFile("ddebug.log");
    size_t loading = log.find(" [ *** Loading *** ]\n"), done = log.find(" Demo loading done\n"),
           playing = log.find(" Playing music...\n"), crash = log.find(" CRASH: Unable to play music!\n");
    EXPECT_NE(crash, std::string::npos) << log;
    EXPECT_TRUE(loading < done && done < playing && playing < crash) << log;
    EXPECT_EQ(RunCommand("ls -A '" + std::string(TempFolder) + "'").out, "") << "left in the temporary folder";

    StopVirtualClock();
    StopSound();
    LoadingDone = DemoFailed = false;
    ASSERT_EQ(chdir(previous), 0);
}
