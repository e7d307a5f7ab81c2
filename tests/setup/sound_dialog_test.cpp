#include "setup/sound_dialog.h"

#include "dialog_fixture.h"
#include "setup/setup_dialog.h"

static void OpenSound() { SoundDialogProc(nullptr, WM_INITDIALOG, 0, 0); }

static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(DialogTest, SoundDialogListsDevicesRatesAndPresets) {
    SetDefaultConfig();
    OpenSound();
    ASSERT_GE(SoundDialog.deviceCount, 1);
    EXPECT_STREQ(SoundDialog.deviceText[0], "Default output device");
    EXPECT_EQ(SoundDialog.deviceSelection, 0);
    EXPECT_EQ(SoundDialog.mixRateSelection, 0);
    EXPECT_EQ(SoundDialog.eaxSelection, 0);
    EXPECT_FALSE(SoundDialog.useEax);
    EXPECT_FALSE(SoundDialog.eaxListEnabled);
    EXPECT_STREQ(EaxPresetNames[9], "Cave");
    EXPECT_STREQ(EaxPresetNames[26], "Psychotic");
    EXPECT_STREQ(MixRateTexts[4], "8000 Hz");
    EXPECT_TRUE(PressSoundButton(nullptr, IDC_SOUND_CANCEL));
    std::string log = Log();
    EXPECT_EQ(log.rfind(" DLG Sound: Initializing...\n DLG Sound: Retrieving device description...\n", 0), 0u);
    EXPECT_NE(log.find(" DLG Sound: " + std::to_string(SoundDialog.deviceCount) +
                       " devices found\n DLG Sound: Init done.\n"
                       " DLG Sound: Canceled by user (Cancel button)\n"
                       " DLG Sound: Canceled (WM_DESTROY message)\n"),
              std::string::npos)
        << log;
}

TEST_F(DialogTest, OkWithoutADeviceStoresMinusOne) {
    SetDefaultConfig();
    DemoConfig.device = 999;  // no such device: nothing is selected
    OpenSound();
    EXPECT_EQ(SoundDialog.deviceSelection, -1);
    EXPECT_TRUE(PressSoundButton(nullptr, IDC_SOUND_OK));
    EXPECT_EQ(DemoConfig.device, -1);
    EXPECT_EQ(DemoConfig.mixRate, 44100);
    EXPECT_NE(Log().find(" DLG Sound: Canceled by user (Ok button)\n DLG Sound: Canceled (WM_DESTROY message)\n"),
              std::string::npos);
}

TEST_F(DialogTest, MixRateIsStoredAndPreselectedOnReopening) {
    SetDefaultConfig();
    OpenSound();
    SoundDialog.mixRateSelection = 3;
    EXPECT_TRUE(PressSoundButton(nullptr, IDC_SOUND_OK));
    EXPECT_EQ(DemoConfig.mixRateIndex, 3);
    EXPECT_EQ(DemoConfig.mixRate, 11025);
    OpenSound();
    EXPECT_EQ(SoundDialog.mixRateSelection, 3);
    // No selection leaves the rate as it was and stores -1 as the index.
    SoundDialog.mixRateSelection = -1;
    EXPECT_TRUE(PressSoundButton(nullptr, IDC_SOUND_OK));
    EXPECT_EQ(DemoConfig.mixRateIndex, -1);
    EXPECT_EQ(DemoConfig.mixRate, 11025);
}

TEST_F(DialogTest, EaxPresetIsForgottenOnReopeningAndCancelChangesNothing) {
    SetDefaultConfig();
    OpenSound();
    SoundDialog.useEax = true;
    testing::internal::CaptureStderr();
    PressSoundButton(nullptr, IDC_USE_EAX);
    testing::internal::GetCapturedStderr();
    SoundDialog.eaxSelection = 9;  // "Cave"
    EXPECT_TRUE(PressSoundButton(nullptr, IDC_SOUND_OK));
    EXPECT_TRUE(DemoConfig.useEax);
    EXPECT_EQ(DemoConfig.eaxPreset, 9);

    OpenSound();
    EXPECT_EQ(SoundDialog.eaxSelection, 0);
    EXPECT_FALSE(SoundDialog.useEax);
    SoundDialog.mixRateSelection = 2;
    SoundDialog.useEax = true;
    EXPECT_TRUE(PressSoundButton(nullptr, IDC_SOUND_CANCEL));
    EXPECT_EQ(DemoConfig.mixRate, 44100);
    EXPECT_TRUE(DemoConfig.useEax);

    OpenSound();
    EXPECT_TRUE(PressSoundButton(nullptr, IDC_SOUND_OK));
    EXPECT_FALSE(DemoConfig.useEax);     // OK without the tick turns EAX off
    EXPECT_EQ(DemoConfig.eaxPreset, 9);  // and leaves the preset as it was
}

TEST_F(DialogTest, EveryEaxClickAsksAndThePresetListFollowsTheBox) {
    SetDefaultConfig();
    OpenSound();
    testing::internal::CaptureStderr();
    SoundDialog.useEax = true;
    EXPECT_FALSE(PressSoundButton(nullptr, IDC_USE_EAX));
    EXPECT_TRUE(SoundDialog.eaxListEnabled);
    SoundDialog.useEax = false;
    EXPECT_FALSE(PressSoundButton(nullptr, IDC_USE_EAX));
    EXPECT_FALSE(SoundDialog.eaxListEnabled);
    EXPECT_FALSE(PressSoundButton(nullptr, IDC_ENABLE_DSP));  // inert
    EXPECT_FALSE(PressSoundButton(nullptr, IDC_SOUND_ABOUT));
    std::string boxes = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(boxes, "msgbox: debug: CheckEAX!\n"), 2) << boxes;
    EXPECT_NE(boxes.find("libmpg123"), std::string::npos);
    EXPECT_EQ(boxes.find("BASS"), std::string::npos);  // we credit what we ship
}
