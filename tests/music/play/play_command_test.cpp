// kamora-tool play: plays a file to its end in real time and reports its decoded length.
#include "run_command.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::string kTool = std::string(KAMORA_BUILD_DIR) + "/kamora-tool";

struct TimedLine {
    double seconds;  // since the command started
    std::string text;
};

// Runs `command`, noting when each line of its output arrived.
std::vector<TimedLine> RunTimed(const std::string& command, int* exitCode) {
    std::vector<TimedLine> lines;
    auto start = std::chrono::steady_clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return lines;
    char line[512];
    while (fgets(line, sizeof line, pipe)) {
        double at = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        lines.push_back({at, line});
    }
    *exitCode = pclose(pipe);
    return lines;
}

// Playing in real time: the length line cannot come before the music's five seconds have passed
// since the command started (the dummy driver's position runs on the same monotonic counter, so
// 10 ms cover the two clock sources' rounding). How much later it comes is the machine's speed,
// bounded only by `timeout` as a hang.
TEST(PlayCommandTest, PlaysFiveSecondsOnTheDummyDriverAndPrintsTheLength) {
    std::string path = MusicTestFolder() + "/play-five.mp3";
    ASSERT_TRUE(MakeToneMp3(path, 44100, 2, 5.0));
    int exitCode = -1;
    std::string command = "SDL_AUDIODRIVER=dummy timeout 60 '" + kTool + "' play '" + path + "' --eax 9";
    std::vector<TimedLine> lines = RunTimed(command, &exitCode);
    ASSERT_EQ(exitCode, 0);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front().text, "playing " + path + ": 44100 Hz, 2 channels, 882000 bytes\n");
    EXPECT_EQ(lines[1].text.rfind("position ", 0), 0u) << lines[1].text;
    EXPECT_EQ(lines.back().text, "length " + std::to_string(ToneBytes(44100, 2, 5.0)) + "\n");
    EXPECT_GE(lines.back().seconds, 5.0 - 0.01);
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
