// Output devices on a real sound server (the one with_sound_server.sh started beside this program,
// with its sink "kamora"): the numbers of the sound dialog's list keep naming the
// same devices when another one goes away, and long names are cut on whole characters.
#include "music/sound_backend.h"
#include "run_command.h"
#include "tone_mp3.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <thread>

namespace {

#define SKIP_WITHOUT_SOUND_SERVER() \
    if (!getenv("KAMORA_SOUND_SETUP")) GTEST_SKIP() << "runs beside a sound server of its own: ctest -L soundserver"

CommandResult Pactl(const std::string& arguments) { return RunCommand("pactl " + arguments); }

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// The first column of the line of `listing` whose second column is `name`, or "".
std::string IndexOf(const std::string& listing, const std::string& name) {
    std::istringstream lines(listing);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream columns(line);
        std::string index, second;
        columns >> index >> second;
        if (second == name) return index;
    }
    return "";
}

}  // namespace

TEST(AListedNumberOpensThatDeviceAfterAnotherWentAway, AndLongNamesAreCutOnWholeCharacters) {
    SKIP_WITHOUT_SOUND_SERVER();
    const std::string longName = "Kamora" + Repeat("\xC3\xA9", 70);  // 146 bytes of which 140 are é
    for (const std::string& sink : {"long sink_properties=device.description=" + longName,
                                    std::string("third sink_properties=device.description=KamoraThird")})
        ASSERT_EQ(Pactl("load-module module-null-sink sink_name=" + sink).exitCode, 0);

    // The list as the sound dialog reads it.
    int third = -1;
    std::string cut;
    const char* name = nullptr;
    for (int device = 0; SoundGetDeviceDescription(device, &name); ++device) {
        if (std::string(name) == "KamoraThird") third = device;
        if (std::string(name).rfind("Kamora\xC3\xA9", 0) == 0) cut = name;
    }
    ASSERT_GT(third, 0);
    EXPECT_EQ(cut, "Kamora" + Repeat("\xC3\xA9", 60));  // 126 bytes: the 127th would split an é
    char dialogText[100];
    CopyDeviceName(dialogText, sizeof dialogText, longName.c_str());
    EXPECT_EQ(std::string(dialogText), "Kamora" + Repeat("\xC3\xA9", 46));

    int before = SDL_GetNumAudioDevices(0);
    std::string firstModule = IndexOf(Pactl("list short modules").out, "module-null-sink");  // kamora's
    ASSERT_EQ(Pactl("unload-module " + firstModule).exitCode, 0);
    for (int i = 0; i < 100 && SDL_GetNumAudioDevices(0) >= before; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_LT(SDL_GetNumAudioDevices(0), before) << "SDL did not see the device go";

    std::string tone = MusicTestFolder() + "/device-tone.mp3";
    ASSERT_TRUE(MakeToneMp3(tone, 44100, 2, 2.0));
    ASSERT_NE(SoundInit(third, 44100, 0x18, nullptr), 0) << "device " << third << " is gone from the list";
    SoundStart();
    uint32_t stream = SoundStreamCreateFile(0, tone.c_str(), 0, 0, 0x20000);
    ASSERT_NE(SoundStreamPlay(stream, 0, 0), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::string streams = Pactl("list short sink-inputs").out;
    std::string sinks = Pactl("list short sinks").out;
    SoundFree();
    std::istringstream firstStream(streams);
    std::string streamIndex, sinkIndex;
    firstStream >> streamIndex >> sinkIndex;
    EXPECT_EQ(sinkIndex, IndexOf(sinks, "third")) << streams << sinks;
}

// The device picked from the list goes away while the music plays: the position goes on at the
// music's own rate on the clock, neither stopping nor following the pace of a driver that plays
// nothing. (The default device would not go: PipeWire's PulseAudio front end, like a desktop's
// PulseAudio, puts a stand-in sink in place of the last one.)
TEST(LosingTheDeviceKeepsThePositionOnTheClock, AtTheMusicsOwnRate) {
    SKIP_WITHOUT_SOUND_SERVER();
    std::string tone = MusicTestFolder() + "/loss-tone.mp3";
    ASSERT_TRUE(MakeToneMp3(tone, 44100, 2, 12.0));
    const char* name = nullptr;
    int picked = 0;
    for (int device = 0; SoundGetDeviceDescription(device, &name); ++device)
        if (std::string(name) == "Kamora") picked = device;
    ASSERT_GT(picked, 0);
    ASSERT_NE(SoundInit(picked, 44100, 0x18, nullptr), 0);
    SoundStart();
    uint32_t stream = SoundStreamCreateFile(0, tone.c_str(), 0, 0, 0x20000);
    ASSERT_NE(SoundStreamPlay(stream, 0, 0), 0);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    ASSERT_EQ(Pactl("unload-module module-null-sink").exitCode, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // Each reading lies between two clock readings: a test thread held up beside them widens the
    // measured span instead of skewing the rate.
    auto now = [] { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); };
    double fromBefore = now();
    uint32_t from = SoundChannelGetPosition(stream);
    double fromAfter = now();
    std::this_thread::sleep_for(std::chrono::seconds(4));
    double toBefore = now();
    uint32_t to = SoundChannelGetPosition(stream);
    double toAfter = now();
    SoundFree();
    EXPECT_GE((to - from) / (toAfter - fromBefore), 176400.0 * 0.99) << "bytes a second after the loss";
    EXPECT_LE((to - from) / (toBefore - fromAfter), 176400.0 * 1.01) << "bytes a second after the loss";
}

