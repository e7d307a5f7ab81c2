// The fault matrix past the loading picture: faults met while loading and signals while the show
// runs. A case that needs the whole show is skipped in a build whose KaMora.ppk lacks its entries
// (configured with -DKAMORA_CONTENT=OFF).
#include "fault_cases.h"

#include <csignal>
#include <filesystem>

namespace fs = std::filesystem;

// The case's package: the build's own entries with `entry` replaced by `bytes`, or left out
// when `bytes` is null, stored uncompressed.
static void RepackBuiltPackage(const ShowRun& run, const std::string& entry, const std::string* bytes) {
    std::string entries = run.folder + ".entries";
    fs::create_directories(entries);
    ASSERT_EQ(RunCommand(std::string(KAMORA_BUILD_DIR) + "/kamora-tool extract '" + BuiltPackage() + "' -C '" +
                         entries + "' >/dev/null").exitCode, 0);
    if (bytes) WriteFile(entries + "/" + entry, *bytes);
    else fs::remove(entries + "/" + entry);
    std::vector<std::string> files;
    for (const auto& file : fs::directory_iterator(entries)) files.push_back(file.path().string());
    ASSERT_TRUE(PackEntries(Package(run), files, true));
}

// True when every one of `parts` is in `log`, each after the one before.
static bool InOrder(const std::string& log, const std::vector<std::string>& parts) {
    size_t at = 0;
    for (const std::string& part : parts) {
        at = log.find(part, at);
        if (at == std::string::npos) return false;
        at += part.size();
    }
    return true;
}

TEST(FaultMatrixLoading, MusicEntryMissingCutOrCorrupt) {
    ShowRun missing = MakeShowRun("music_missing");
    ASSERT_TRUE(PackEntries(Package(missing), {EntryFile(missing, "load.tga", SmallTga())}));
    ShowOutcome outcome = RunShow(missing);
    ExpectCleanEnd(missing, outcome, {"msgbox: Unpacker Error: File music.mp3 not found in package!", kLoadingFailed});

    ShowRun cut = MakeShowRun("music_cut");
    WriteSmallPackage(cut);
    CutFile(Package(cut), EntryDataOffset(Package(cut), "music.mp3") + 100);
    ExpectCleanEnd(cut, RunShow(cut), {"\\nThe package is damaged.", kLoadingFailed});

    ShowRun corrupt = MakeShowRun("music_corrupt");
    WriteSmallPackage(corrupt);
    ExpectCleanEnd(corrupt, RunShow(corrupt), {"msgbox: Error: Unable to create stream file!", kLoadingFailed});
}

// The show has begun to unpack the loading picture: its handlers are in place, and the 2.8 s fade
// is still to come, however slowly the show started.
static bool PictureUnpacked(const ShowRun& run) { return !FolderListing(run.tempDir).empty(); }

// Signals before or during the 2.8 s fade of the loading picture: the show closes without loading.
TEST(FaultMatrixLoading, SignalDuringTheLoadingFadeEndsTheShowCleanly) {
    for (int signal : {SIGINT, SIGTERM}) {
        ShowRun run = MakeShowRun("signal_fade");
        WriteSmallPackage(run);
        run.signal = signal;
        run.signalWhen = PictureUnpacked;
        run.limitSeconds = 20;
        ShowOutcome outcome = RunShow(run);
        ExpectCleanEnd(run, outcome, {});
        EXPECT_EQ(outcome.out.find("Initialization error"), std::string::npos) << outcome.out;
    }
}

// "No sound" ticked in the setup dialog: no device is needed, and none is asked for.
TEST(FaultMatrixLoading, NoAudioDeviceWithNoSound) {
    ShowRun run = MakeShowRun("no_sound");
    run.arguments = "";
    run.env = {"SDL_AUDIODRIVER=nothing", "KAMORA_DIALOG=nosound"};
    ASSERT_TRUE(PackEntries(Package(run), {EntryFile(run, "load.tga", SmallTga())}));
    ShowOutcome outcome = RunShow(run);
    EXPECT_NE(outcome.out.find("msgbox: No sound mode: Are you sure to run the demo without sound?"),
              std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.out.find("Unable to initialize output device"), std::string::npos) << outcome.out;
    ExpectCleanEnd(run, outcome, {"msgbox: Unpacker Error: File music.mp3 not found in package!", kLoadingFailed});
}

TEST(FaultMatrixShow, SignalDuringTheShowEndsItThroughTheShutdown) {
    SKIP_WITHOUT_WHOLE_PACKAGE();
    for (int signal : {SIGINT, SIGTERM}) {
        ShowRun run = WholeShowRun("signal_show");
        run.signal = signal;
        PlayIntoFile(&run);
        run.signalWhen = MusicPlaying;  // however long loading takes beside other work
        run.limitSeconds = 90;
        if (signal == SIGTERM) run.arguments = "-ddebug";  // the DebugLog names each step of the start and the end
        ShowOutcome outcome = RunShow(run);
        ExpectCleanEnd(run, outcome, {});
        if (signal != SIGTERM) {
            EXPECT_EQ(outcome.out.find("msgbox: "), std::string::npos) << outcome.out;
            continue;
        }
        // (The setup dialog's full-screen default may ask for a window instead: a box of its own.)
        std::string log = ReadWholeFile(run.folder + "/ddebug.log");
        EXPECT_TRUE(InOrder(log, {" Running dialog setup...", " Creating OpenGL window...", " [ *** PreLoading *** ]",
                                  " Timer init...", " \n Starting main demo loop\n", " [ *** Loading *** ]",
                                  " Demo loading done", " Playing music...", " Shutdown sequence..."}))
            << log;
    }
}

// The loaders run in their fixed order (the castle before the scroller) and the first that fails
// ends loading: no later loader runs.
TEST(FaultMatrixShow, LoadingStopsAtTheFirstFailingLoader) {
    SKIP_WITHOUT_WHOLE_PACKAGE();
    ShowRun run = MakeShowRun("failing_loader");
    run.arguments = "-ddebug";
    RepackBuiltPackage(run, "castle.3DS", nullptr);
    ExpectCleanEnd(run, RunShow(run), {"msgbox: Unpacker Error: File castle.3DS not found in package!", kLoadingFailed});
    std::string log = ReadWholeFile(run.folder + "/ddebug.log");
    EXPECT_TRUE(InOrder(log, {" Timer init...", " [ *** Loading *** ]", "/scn1.3ds\n", "/flipe01.3DS\n",
                              "/flipe_env.3ds\n", "/frog.3DS\n", "/cube.3DS\n", "/tubo.3DS\n", "/fr08.3DS\n"}))
        << log;
    for (const char* later : {"/sphere.3ds", "/oldcube.3ds", "/planes.3DS", " Demo loading done", " Playing music..."})
        EXPECT_EQ(log.find(later), std::string::npos) << later << "\n" << log;
}

// A scene cut off by the end of the file, and a scene and a texture replaced by noise.
TEST(FaultMatrixShow, DamagedSceneAndTextureEntries) {
    SKIP_WITHOUT_WHOLE_PACKAGE();
    ShowRun cut = MakeShowRun("scene_cut");
    fs::copy_file(BuiltPackage(), Package(cut));
    long scene = EntryDataOffset(Package(cut), "scn1.3ds");  // the opening's scene, loaded first
    ASSERT_GT(scene, 0);
    CutFile(Package(cut), scene + 50);
    ShowOutcome outcome = RunShow(cut);
    ExpectCleanEnd(cut, outcome, {"\\nThe package is damaged.", kLoadingFailed});

    for (const char* entry : {"scn1.3ds", "suelo1.tga"}) {
        ShowRun run = MakeShowRun("corrupt_entry");
        std::string noise = Garbage(4000);
        RepackBuiltPackage(run, entry, &noise);
        ExpectCleanEnd(run, RunShow(run), {"msgbox: ", kLoadingFailed});
    }
}

// The viewer ends the show with Escape or the close box during the loading picture's fade.
TEST(FaultMatrixLoading, EscapeOrCloseDuringTheLoadingFade) {
    for (const char* poke : {"escape 2", "close"}) {  // (held until the show has seen it)
        ShowRun run = MakeShowRun("poke_fade");
        WriteSmallPackage(run);
        run.poke = poke;
        run.pokeDelay = 0.5;
        run.limitSeconds = 30;
        ShowOutcome outcome = RunShow(run);
        ExpectCleanEnd(run, outcome, {});
        EXPECT_EQ(outcome.out.find("Initialization error"), std::string::npos) << poke << outcome.out;
    }
}

// ... and while the show loads its entries (Escape held until the window is gone: loading takes
// a while longer in a sanitizer build).
TEST(FaultMatrixShow, EscapeOrCloseDuringLoading) {
    SKIP_WITHOUT_WHOLE_PACKAGE();
    for (const char* poke : {"escape 90", "close"}) {
        SCOPED_TRACE(poke);
        ShowRun run = WholeShowRun("poke_loading");
        run.poke = poke;
        run.pokeDelay = 3.2;
        run.limitSeconds = 90;
        ShowOutcome outcome = RunShow(run);
        ExpectCleanEnd(run, outcome, {});
        EXPECT_EQ(outcome.out.find("msgbox: "), std::string::npos) << poke << outcome.out;
    }
}

// The temporary folder taken away while the show loads, and while it runs: the show goes on
// without it or fails its load with a message, and still shuts down cleanly at the end.
TEST(FaultMatrixShow, TemporaryFolderVanishingMidRun) {
    SKIP_WITHOUT_WHOLE_PACKAGE();
    for (double vanish : {3.0, 8.0}) {
        ShowRun run = WholeShowRun("temp_vanishing");
        run.vanishDelay = vanish;
        run.signal = SIGTERM;
        run.signalDelay = 14;
        run.limitSeconds = 90;  // (loading takes a while longer in a sanitizer build)
        ShowOutcome outcome = RunShow(run);
        ExpectCleanEnd(run, outcome, {});
        EXPECT_FALSE(fs::exists(run.tempDir)) << "the show made its temporary folder anew";
        EXPECT_EQ(FolderListing(run.folder), "KaMora.ppk\n") << "written beside the package";
        bool loadFailed = outcome.out.find(kLoadingFailed) != std::string::npos;
        EXPECT_TRUE(loadFailed || outcome.out.find("msgbox: ") == std::string::npos) << outcome.out;
    }
}
