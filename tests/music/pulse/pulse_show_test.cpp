// The show on a real sound server, as a viewer starts it: the whole show to its end, and beside
// it a second show whose only output device goes away mid-show. Each has a daemon of its own.
#include "fault_cases.h"
#include "pulse_daemon.h"

#include <future>

namespace {

const double kDemoSeconds = 27885568 / 176400.0;  // the end position, 158.08 s of music
const double kLoadingFade = 2.8;

ShowRun PulseShowRun(const std::string& name, const PulseDaemon& daemon) {
    ShowRun run = WholeShowRun(name);
    run.env = PulseClientEnvironment(daemon);
    run.limitSeconds = kDemoSeconds + 80;
    run.niceness = 10;  // the click track's timing beside it comes first
    run.commandDelay = 70;  // mid-show
    run.command = PulseCommandLine(daemon, "pactl list short sink-inputs > '" + run.folder + ".streams'");
    return run;
}

}  // namespace

TEST(PulseShow, TheWholeShowEndsAtItsEndAndOutlivesItsDevice) {
    SKIP_WITHOUT_WHOLE_PACKAGE();
    PulseDaemon kept, lost;
    ASSERT_TRUE(StartPulseDaemon(&kept, {{"kamora", "Kamora"}}));
    ASSERT_TRUE(StartPulseDaemon(&lost, {{"kamora", "Kamora"}}));
    ShowRun whole = PulseShowRun("pulse_whole", kept);
    ShowRun loss = PulseShowRun("pulse_loss", lost);
    loss.command += " && " + PulseCommandLine(lost, "pactl unload-module module-null-sink");  // the sink goes
    auto wholeRun = std::async(std::launch::async, RunShow, whole);
    auto lossRun = std::async(std::launch::async, RunShow, loss);
    ShowOutcome wholeEnd = wholeRun.get(), lossEnd = lossRun.get();

    for (const auto& [run, end] : {std::pair{whole, wholeEnd}, std::pair{loss, lossEnd}}) {
        SCOPED_TRACE(run.folder);
        ExpectCleanEnd(run, end, {});
        EXPECT_EQ(end.out.find("msgbox: "), std::string::npos) << end.out;
        // It played through the daemon, and ran to the end position, not past it by much.
        EXPECT_NE(ReadWholeFile(run.folder + ".streams"), "") << "no sound stream on the daemon";
        EXPECT_GT(end.seconds, kDemoSeconds + kLoadingFade);
        EXPECT_LT(end.seconds, kDemoSeconds + kLoadingFade + 40);
    }
    EXPECT_EQ(RunPulseCommand(lost, "pactl list short sinks").out, "") << "the sink is still there";
    // Without its device the show kept time on its clock: it ended no later than the one that kept
    // its device (which waits out every gap in its sound on a busy machine).
    EXPECT_LT(lossEnd.seconds, wholeEnd.seconds + 3.0);
    printf("whole show %.1f s, with its device lost at %.0f s %.1f s\n", wholeEnd.seconds, loss.commandDelay,
           lossEnd.seconds);
}
