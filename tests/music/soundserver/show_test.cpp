// The show on a real sound server (the one with_sound_server.sh started beside this program), as a
// viewer starts it: the whole show, whose output device goes away mid-show (the server moves its
// sound to a stand-in), still ends by itself at its end.
#include "fault_cases.h"

#include <cstdlib>

namespace {

const double kDemoSeconds = 27885568 / 176400.0;  // the end position, 158.08 s of music
const double kLoadingFade = 2.8;

}  // namespace

TEST(TheWholeShowEndsAfterItsDeviceWentAway, AndItsPositionNeverRanAhead) {
    const char* setup = getenv("KAMORA_SOUND_SETUP");
    if (!setup) GTEST_SKIP() << "runs beside a sound server of its own: ctest -L soundserver";
    SKIP_WITHOUT_WHOLE_PACKAGE();
    ShowRun run = WholeShowRun(std::string("sound_") + setup);
    run.limitSeconds = kDemoSeconds + 120;  // a hang bound: loading on a busy machine takes its time
    run.yields = true;                      // the click tracks' timing beside it comes first,
    run.env = {"LP_NUM_THREADS=0"};         // and it draws on one thread, not on as many as the cores
    run.commandDelay = 70;                  // mid-show
    run.command = "pactl list short sink-inputs > '" + run.folder + ".streams' && pactl unload-module module-null-sink";
    ShowOutcome end = RunShow(run);
    ExpectCleanEnd(run, end, {});
    EXPECT_EQ(end.out.find("msgbox: "), std::string::npos) << end.out;
    EXPECT_NE(ReadWholeFile(run.folder + ".streams"), "") << "no sound stream on the server";
    std::string sinks = RunCommand("pactl list short sinks").out;
    EXPECT_EQ(sinks.find("\tkamora\t"), std::string::npos) << "the sink is still there:\n" << sinks;
    // Its position never ran ahead of the music: it cannot have ended before the music's length.
    EXPECT_GT(end.seconds, kDemoSeconds + kLoadingFade);
    printf("%s: the show ended after %.1f s, its device gone at %.0f s\n", setup, end.seconds, run.commandDelay);
}
