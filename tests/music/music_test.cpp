// Sound start-up, the music stream, error texts and shutdown as the show calls them.
#include "host/demo_config.h"
#include "music/music.h"
#include "music/sound_backend.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultConfig();
        SoundErrorText[0] = 0;
    }
    void TearDown() override { StopSound(); }
    // Runs `action` and returns what it printed as message boxes (KAMORA_MSGBOX=stderr).
    template <typename Action> std::string Boxes(Action action) {
        ::testing::internal::CaptureStderr();
        action();
        return ::testing::internal::GetCapturedStderr();
    }
};

TEST_F(MusicTest, StartsOnTheNoSoundDeviceWhateverTheDeviceNumber) {
    DemoConfig.noSound = true;
    DemoConfig.device = 77;
    EXPECT_EQ(Boxes([] { EXPECT_TRUE(StartSound(nullptr)); }), "");
    std::string path = MusicTestFolder() + "/music-nosound.mp3";
    ASSERT_TRUE(MakeToneMp3(path, 44100, 2, 0.2));
    EXPECT_TRUE(CreateMusicStream(path.c_str()));
    EXPECT_NE(MusicStream, 0u);
}

TEST_F(MusicTest, DeviceFailureShowsTheErrorTextAndStopSoundIsSafeTwice) {
    DemoConfig.device = 99;
    EXPECT_EQ(Boxes([] { EXPECT_FALSE(StartSound(nullptr)); }),
              "msgbox: Error: Unable to initialize output device:\\nIllegal device number\n");
    StopSound();
    StopSound();
    EXPECT_EQ(MusicStream, 0u);
    DemoConfig.device = 0;
    EXPECT_TRUE(StartSound(nullptr)) << "the viewer can press Run again";
}

TEST_F(MusicTest, StreamFailureShowsItsBoxAndPreparesTheText) {
    ASSERT_TRUE(StartSound(nullptr));
    std::string missing = MusicTestFolder() + "/no-such-music.mp3";
    EXPECT_EQ(Boxes([&] { EXPECT_FALSE(CreateMusicStream(missing.c_str())); }),
              "msgbox: Error: Unable to create stream file!\n");
    EXPECT_STREQ(SoundErrorText, "Unable to open file");
    // A call that succeeds leaves code 0, which has no text: the previous text is kept.
    EXPECT_NE(SoundSet3DFactors(1, 1, 1), 0);
    DescribeSoundError();
    EXPECT_STREQ(SoundErrorText, "Unable to open file");
    std::string text = MusicTestFolder() + "/not-music.mp3";
    FILE* file = fopen(text.c_str(), "w");
    fputs("plain text", file);
    fclose(file);
    Boxes([&] { EXPECT_FALSE(CreateMusicStream(text.c_str())); });
    EXPECT_STREQ(SoundErrorText, "Unsupported format");
}

TEST_F(MusicTest, EaxPresetsReachTheBackEndAndBadIndicesAreReported) {
    DemoConfig.useEax = true;
    DemoConfig.eaxPreset = 0;  // "None": dry, after the 3D calls
    EXPECT_EQ(Boxes([] { EXPECT_TRUE(StartSound(nullptr)); }), "");
    for (int index = 0; index <= 26; ++index) EXPECT_TRUE(SetEaxPreset(index)) << index;
    EXPECT_EQ(Boxes([] { EXPECT_TRUE(SetEaxPreset(27)); }), "msgbox: Set EAX call: EAX Envmode invalid\n");
    EXPECT_EQ(Boxes([] { EXPECT_TRUE(SetEaxPreset(-1)); }), "msgbox: Set EAX call: EAX Envmode invalid\n");
}

TEST_F(MusicTest, EaxFailureIsReportedButSoundStillStarts) {
    DemoConfig.useEax = true;
    DemoConfig.eaxPreset = 8;
    ASSERT_TRUE(StartSound(nullptr));
    StopSound();
    // With no device open the reverb call fails with code 8; the box names it.
    EXPECT_FALSE(SetEaxPreset(8));
    DescribeSoundError();
    EXPECT_STREQ(SoundErrorText, "BASS_Init() has not been successfully called!");
}

}  // namespace
