// kamora-tool play: plays a file to its end in real time and reports its decoded length.
#include "run_command.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

const std::string kTool = std::string(KAMORA_BUILD_DIR) + "/kamora-tool";

TEST(PlayCommandTest, PlaysFiveSecondsOnTheDummyDriverAndPrintsTheLength) {
    std::string path = MusicTestFolder() + "/play-five.mp3";
    ASSERT_TRUE(MakeToneMp3(path, 44100, 2, 5.0));
    auto start = std::chrono::steady_clock::now();
    CommandResult result = RunCommand("SDL_AUDIODRIVER=dummy '" + kTool + "' play '" + path + "' --eax 9");
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_NE(result.out.find("position 1"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("length " + std::to_string(ToneBytes(44100, 2, 5.0)) + "\n"), std::string::npos)
        << result.out;
    EXPECT_NEAR(seconds, 5.0, 0.3);
}

TEST(PlayCommandTest, BadFilesAndArgumentsFailWithTheBackEndsText) {
    std::string folder = MusicTestFolder();
    CommandResult missing = RunCommand("'" + kTool + "' play '" + folder + "/absent.mp3' --no-sound");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.out.find("Unable to open file"), std::string::npos) << missing.out;
    std::string notMusic = std::string(KAMORA_SOURCE_DIR) + "/CMakeLists.txt";
    CommandResult text = RunCommand("'" + kTool + "' play '" + notMusic + "' --no-sound");
    EXPECT_NE(text.exitCode, 0);
    EXPECT_NE(text.out.find("Unsupported format"), std::string::npos) << text.out;
    EXPECT_EQ(RunCommand("'" + kTool + "' play x.mp3 --rate fast").exitCode, 2);
    EXPECT_EQ(RunCommand("'" + kTool + "' play x.mp3 --eax 27").exitCode, 2);
    EXPECT_EQ(RunCommand("'" + kTool + "' play").exitCode, 2);
}

}  // namespace
