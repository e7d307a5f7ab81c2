// The show on a real sound server, as a viewer starts it: the whole show, whose output device
// goes away mid-show (the server moves its sound to a stand-in), still ends by itself at its end.
// One show for every server and driver this machine has, side by side, each with a server of its
// own.
#include "fault_cases.h"
#include "sound_server.h"

#include <future>

namespace {

const double kDemoSeconds = 27885568 / 176400.0;  // the end position, 158.08 s of music
const double kLoadingFade = 2.8;

ShowRun SoundServerShowRun(const SoundServer& server) {
    ShowRun run = WholeShowRun(std::string("sound_") + server.setup.name);
    run.env = SoundClientEnvironment(server);
    run.limitSeconds = kDemoSeconds + 120;  // a hang bound: loading on a busy machine takes its time
    run.niceness = 10;                      // the click tracks' timing beside it comes first
    run.commandDelay = 70;                  // mid-show
    run.command = SoundCommandLine(server, "pactl list short sink-inputs") + " > '" + run.folder + ".streams' && " +
                  SoundCommandLine(server, "pactl unload-module module-null-sink");
    return run;
}

}  // namespace

TEST(TheWholeShowEndsAfterItsDeviceWentAway, OnEveryDriver) {
    SKIP_WITHOUT_WHOLE_PACKAGE();
    SKIP_WITHOUT_ANY_SOUND_SERVER();
    std::vector<SoundSetup> setups = AvailableSoundSetups();
    SoundServer servers[3];
    std::vector<ShowRun> runs;
    std::vector<std::future<ShowOutcome>> ends;
    for (size_t i = 0; i < setups.size(); ++i) {
        ASSERT_TRUE(StartSoundServer(&servers[i], setups[i], {{"kamora", "Kamora"}}));
        runs.push_back(SoundServerShowRun(servers[i]));
    }
    for (const ShowRun& run : runs) ends.push_back(std::async(std::launch::async, RunShow, run));
    for (size_t i = 0; i < setups.size(); ++i) {
        ShowOutcome end = ends[i].get();
        SCOPED_TRACE(setups[i].name);
        ExpectCleanEnd(runs[i], end, {});
        EXPECT_EQ(end.out.find("msgbox: "), std::string::npos) << end.out;
        EXPECT_NE(ReadWholeFile(runs[i].folder + ".streams"), "") << "no sound stream on the server";
        std::string sinks = RunSoundCommand(servers[i], "pactl list short sinks").out;
        EXPECT_EQ(sinks.find("\tkamora\t"), std::string::npos) << "the sink is still there:\n" << sinks;
        // Its position never ran ahead of the music: it cannot have ended before the music's length.
        EXPECT_GT(end.seconds, kDemoSeconds + kLoadingFade);
        printf("%s: the show ended after %.1f s, its device gone at %.0f s\n", setups[i].name, end.seconds,
               runs[i].commandDelay);
    }
}
