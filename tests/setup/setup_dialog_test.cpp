#include "setup/setup_dialog.h"

#include "dialog_fixture.h"

#include <regex>

static void OpenSetup() { SetupDialogProc(nullptr, WM_INITDIALOG, 0, 0); }

TEST_F(DialogTest, RunUntouchedTakesFirst16BitModeFullScreenAndDefaultSound) {
    DemoConfig.fullScreen = false;
    DemoConfig.device = 3;  // the dialog sets the defaults when it opens
    OpenSetup();
    ASSERT_EQ(DisplayModeCount, 4);
    EXPECT_STREQ(SetupDialog.modeText[0], "640x480 16 bpp");
    EXPECT_STREQ(SetupDialog.modeText[1], "1024x768 16 bpp");
    EXPECT_STREQ(SetupDialog.modeText[2], "800x600 32 bpp");
    EXPECT_STREQ(SetupDialog.modeText[3], "1280x1024 32 bpp");
    EXPECT_EQ(SetupDialog.modeSelection, 0);
    EXPECT_TRUE(SetupDialog.fullScreen);
    EXPECT_STREQ(SetupDialog.caption, "Ka Mora - Vardenix (Party)");

    EXPECT_TRUE(PressSetupButton(nullptr, IDC_RUN));
    EXPECT_FALSE(DemoConfig.cancelled);
    EXPECT_EQ(DemoConfig.width, 640);
    EXPECT_EQ(DemoConfig.height, 480);
    EXPECT_EQ(DemoConfig.colourBits, 16);
    EXPECT_TRUE(DemoConfig.fullScreen);
    EXPECT_FALSE(DemoConfig.noSound);
    EXPECT_FALSE(DemoConfig.loop);
    EXPECT_EQ(DemoConfig.device, 0);
    EXPECT_EQ(DemoConfig.mixRate, 44100);
    EXPECT_FALSE(DemoConfig.useEax);

    std::string log = std::regex_replace(Log(), std::regex("CPU Speed: [0-9]+\\.[0-9]+ Mhz ~"), "CPU");
    EXPECT_EQ(log,
              " DLG: Initializing...\n"
              " DLG: Enumerating display modes...\n"
              " DLG: 4 modes found\n"
              " DLG: CPU\n"
              " DLG: Setting up default config...\n"
              " DLG: Init done.\n"
              " DLG: Setup video config...\n"
              " DLG: Setup audio config...\n"
              " DLG: Video mode is 640x480 16 bpp\n"
              " DLG: Set config done.\n"
              " DLG: Canceled by user (Ok button)\n"
              " DLG: Canceled (WM_DESTROY message)\n");
}

TEST_F(DialogTest, NoSoundAnswerIsFinal) {
    for (const char* answer : {"no", "yes"}) {
        setenv("KAMORA_MSGBOX_ANSWER", answer, 1);
        OpenSetup();
        SetupDialog.noSound = true;
        SetupDialog.loop = true;
        SetupDialog.fullScreen = false;
        testing::internal::CaptureStderr();
        EXPECT_TRUE(PressSetupButton(nullptr, IDC_RUN));
        std::string boxes = testing::internal::GetCapturedStderr();
        EXPECT_NE(boxes.find("msgbox: No sound mode: Are you sure to run the demo without sound?"), std::string::npos);
        EXPECT_EQ(DemoConfig.noSound, std::string(answer) == "yes");
        EXPECT_TRUE(DemoConfig.loop);
        EXPECT_FALSE(DemoConfig.fullScreen);
        StopSound();
    }
}

TEST_F(DialogTest, Without16BitModesTheDesktopModeIsPreselected) {
    const PlatformDisplayMode desktop = {1280, 720, 32};
    modes = {{1920, 1080, 32}, {1280, 720, 32}, {1280, 720, 24}, {320, 200, 8}};
    SetTestDisplayModes(modes.data(), (int)modes.size(), &desktop);
    OpenSetup();
    ASSERT_EQ(DisplayModeCount, 2);  // other depths are skipped
    EXPECT_EQ(SetupDialog.modeSelection, 1);
    EXPECT_TRUE(PressSetupButton(nullptr, IDC_RUN));
    EXPECT_EQ(DemoConfig.width, 1280);
    EXPECT_EQ(DemoConfig.height, 720);
    EXPECT_EQ(DemoConfig.colourBits, 32);
    EXPECT_TRUE(DemoConfig.fullScreen);
    EXPECT_NE(Log().find(" DLG: Video mode is 1280x720 32 bpp\n"), std::string::npos);

    // With 16-bit modes the first of them stays preselected, whatever the desktop's mode.
    StopSound();
    ASSERT_TRUE(OpenDebugLog());
    modes = {{1280, 720, 32}, {800, 600, 16}};
    SetTestDisplayModes(modes.data(), (int)modes.size(), &desktop);
    OpenSetup();
    EXPECT_EQ(SetupDialog.modeSelection, 0);
    EXPECT_STREQ(SetupDialog.modeText[0], "800x600 16 bpp");
}

TEST_F(DialogTest, WithoutA16BitOrTheDesktopsModeNothingIsPreselectedAndDefaultsStay) {
    UseModes({{1920, 1080, 32}, {1280, 720, 32}, {1280, 720, 24}, {320, 200, 8}});  // desktop unknown
    OpenSetup();
    ASSERT_EQ(DisplayModeCount, 2);
    EXPECT_EQ(SetupDialog.modeSelection, -1);
    EXPECT_TRUE(PressSetupButton(nullptr, IDC_RUN));
    EXPECT_EQ(DemoConfig.width, 640);
    EXPECT_EQ(DemoConfig.height, 480);
    EXPECT_EQ(DemoConfig.colourBits, 32);
    EXPECT_NE(Log().find(" DLG: Video mode is 640x480 32 bpp\n"), std::string::npos);

    // Choosing a 32-bit entry takes it.
    StopSound();
    ASSERT_TRUE(OpenDebugLog());
    OpenSetup();
    SetupDialog.modeSelection = 1;
    EXPECT_TRUE(PressSetupButton(nullptr, IDC_RUN));
    EXPECT_EQ(DemoConfig.width, 1280);
    EXPECT_EQ(DemoConfig.height, 720);
    EXPECT_EQ(DemoConfig.colourBits, 32);
}

TEST_F(DialogTest, ModeTableStopsAt299AndKeepsRepeatedSizes) {
    std::vector<PlatformDisplayMode> many;
    for (int i = 0; i < 320; ++i) many.push_back({640 + i, 480, 16});
    many.push_back({800, 600, 32});
    UseModes(many);
    OpenSetup();
    EXPECT_EQ(DisplayModeCount, 299);
    EXPECT_EQ(DisplayModeTable[298].width, 640 + 298);
    EXPECT_NE(Log().find(" DLG: 299 modes found\n"), std::string::npos);

    ASSERT_TRUE(OpenDebugLog());
    UseModes({{640, 480, 16}, {640, 480, 16}, {640, 480, 32}});
    OpenSetup();
    EXPECT_EQ(DisplayModeCount, 3);  // a size reported at two refresh rates is listed twice
}

TEST_F(DialogTest, ExitCancelsAndAboutKeepsTheDialogOpen) {
    OpenSetup();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(PressSetupButton(nullptr, IDC_ABOUT));
    EXPECT_FALSE(PressSetupButton(nullptr, 4242));  // an unknown id does nothing
    EXPECT_TRUE(PressSetupButton(nullptr, IDC_EXIT));
    EXPECT_TRUE(PressSetupButton(nullptr, IDC_RUN));  // a closed dialog takes no more commands
    std::string boxes = testing::internal::GetCapturedStderr();
    EXPECT_EQ(boxes.rfind("msgbox: About: Ka Mora\\n", 0), 0u) << boxes;
    EXPECT_TRUE(DemoConfig.cancelled);
    std::string log = Log();
    EXPECT_NE(log.find(" DLG: Init done.\n DLG: Canceled by user (Cancel button)\n"
                       " DLG: Canceled (WM_DESTROY message)\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("Setup video config"), std::string::npos);
}

TEST(CpuSpeed, HundredthsArePrintedUnpadded) {
    char text[64];
    FormatCpuSpeed(text, sizeof text, 300000000ull);
    EXPECT_STREQ(text, "CPU Speed: 3000.0 Mhz ~");
    FormatCpuSpeed(text, sizeof text, 123405999ull);
    EXPECT_STREQ(text, "CPU Speed: 1234.5 Mhz ~");
    FormatCpuSpeed(text, sizeof text, 123456000ull);
    EXPECT_STREQ(text, "CPU Speed: 1234.56 Mhz ~");
    // The hundredths are cut to 32 bits before they are printed.
    FormatCpuSpeed(text, sizeof text, (4294967296ull + 705) * 1000);
    EXPECT_STREQ(text, "CPU Speed: 7.5 Mhz ~");
}
