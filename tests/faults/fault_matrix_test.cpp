// The show against damaged packages and a hostile machine. Every case must end on its own within
// a bounded time, print its message, exit with code 0, raise no sanitizer report and leave its
// private temporary folder empty.
#include "fault_cases.h"

#include <csignal>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(FaultMatrix, NoPackage) {
    ShowRun run = MakeShowRun("no_package");
    ShowOutcome outcome = RunShow(run);
    ExpectCleanEnd(run, outcome, {"msgbox: Extract file Error: Package file 'KaMora.ppk' not found!.\\n", kPreloadFailed});
}

TEST(FaultMatrix, EmptyFileAndPackageCutInsideItsHeader) {
    for (long size : {0L, 20L}) {
        ShowRun run = MakeShowRun("cut_header");
        WriteSmallPackage(run);
        CutFile(Package(run), size);
        ShowOutcome outcome = RunShow(run);
        ExpectCleanEnd(run, outcome, {"msgbox: Pack Info Error: Error reading package indentification!.\\n"
                                      "Please report this bug with error code 10", kPreloadFailed});
    }
}

TEST(FaultMatrix, FlippedIdentificationByteFindsNoEntry) {
    ShowRun run = MakeShowRun("flipped_identification");
    WriteSmallPackage(run);
    std::string bytes = ReadWholeFile(Package(run));
    bytes[3] ^= 0x20;
    WriteFile(Package(run), bytes);
    ShowOutcome outcome = RunShow(run);
    ExpectCleanEnd(run, outcome, {"msgbox: Unpacker Error: File load.tga not found in package!", kPreloadFailed});
}

TEST(FaultMatrix, EntryMissingAndPackageCutInsideARecord) {
    ShowRun missing = MakeShowRun("entry_missing");
    ASSERT_TRUE(PackEntries(Package(missing), {EntryFile(missing, "music.mp3", Garbage(500))}));
    ShowRun cut = MakeShowRun("cut_record");
    WriteSmallPackage(cut);
    CutFile(Package(cut), 32 + 100);
    for (const ShowRun& run : {missing, cut})
        ExpectCleanEnd(run, RunShow(run), {"msgbox: Unpacker Error: File load.tga not found in package!", kPreloadFailed});
}

TEST(FaultMatrix, PackageCutInsideAnEntryLeavesNoHalfFile) {
    ShowRun packed = MakeShowRun("cut_packed_entry");
    WriteSmallPackage(packed);
    CutFile(Package(packed), EntryDataOffset(Package(packed), "load.tga") + 5);
    ExpectCleanEnd(packed, RunShow(packed),
                   {"msgbox: LZ Error: The compressed data in KaMora.ppk ends early!\\nThe package is damaged.",
                    kPreloadFailed});
    ShowRun stored = MakeShowRun("cut_stored_entry");
    WriteSmallPackage(stored, true);
    CutFile(Package(stored), EntryDataOffset(Package(stored), "load.tga") + 5);
    ExpectCleanEnd(stored, RunShow(stored),
                   {"msgbox: Extract Error:  Error: The package KaMora.ppk ends inside an entry !\\n"
                    "The package is damaged.", kPreloadFailed});
}

TEST(FaultMatrix, CorruptPicture) {
    ShowRun run = MakeShowRun("corrupt_picture");
    ASSERT_TRUE(PackEntries(Package(run), {EntryFile(run, "load.tga", Garbage(300))}));
    ExpectCleanEnd(run, RunShow(run), {"msgbox: TGA Loader: Error loading ", kPreloadFailed});
}

// The temporary folder's parent gone, a plain file, or (for a user other than root) read-only:
// no private folder, so nothing is unpacked anywhere else.
TEST(FaultMatrix, NoUsableTemporaryFolder) {
    std::vector<std::string> kinds = {"vanished", "plain_file"};
    if (geteuid() != 0) kinds.push_back("read_only");
    for (const std::string& kind : kinds) {
        ShowRun run = MakeShowRun("temp_" + kind);
        WriteSmallPackage(run);
        if (kind == "vanished") fs::remove(run.tempDir);
        if (kind == "plain_file") {
            fs::remove(run.tempDir);
            WriteFile(run.tempDir, "");
        }
        if (kind == "read_only") fs::permissions(run.tempDir, fs::perms::owner_read | fs::perms::owner_exec);
        ShowOutcome outcome = RunShow(run);
        if (kind == "read_only") fs::permissions(run.tempDir, fs::perms::owner_all);
        EXPECT_FALSE(outcome.hung) << kind << outcome.out;
        EXPECT_EQ(outcome.exitCode, 0) << kind << outcome.out;
        EXPECT_NE(outcome.out.find("msgbox: Extract file Error: No private temporary folder for load.tga!"),
                  std::string::npos) << kind << outcome.out;
        EXPECT_NE(outcome.out.find(kPreloadFailed), std::string::npos) << kind;
        EXPECT_EQ(SanitizerReport(outcome.out), "") << kind;
        // Nothing was unpacked beside the package either.
        EXPECT_EQ(FolderListing(run.folder), kind == "vanished" ? "KaMora.ppk\n" : "KaMora.ppk\ntmp\n") << kind;
        if (kind == "read_only") {
            EXPECT_EQ(FolderListing(run.tempDir), "");
        }
    }
}

// -nodialog starts the sound at once: without a device the show says so and goes on.
TEST(FaultMatrix, NoAudioDevice) {
    ShowRun run = MakeShowRun("no_audio_device");
    run.env = {"SDL_AUDIODRIVER=nothing"};
    WriteSmallPackage(run);
    ExpectCleanEnd(run, RunShow(run), {"msgbox: Error: Unable to initialize output device:\\n"});
}

// Run in the setup dialog without a device: the box says so and the dialog stays open for another
// try; the viewer closes it and the show ends without opening its window.
TEST(FaultMatrix, NoAudioDeviceFromTheSetupDialog) {
    ShowRun run = MakeShowRun("no_audio_device_dialog");
    run.arguments = "";
    run.env = {"SDL_AUDIODRIVER=nothing", "KAMORA_DIALOG=run"};
    run.poke = "close";
    run.pokeDelay = 1.0;
    run.limitSeconds = 30;
    WriteSmallPackage(run);
    ShowOutcome outcome = RunShow(run);
    ExpectCleanEnd(run, outcome, {"msgbox: Error: Unable to initialize output device:\\n"});
    EXPECT_EQ(outcome.out.find("Initialization error"), std::string::npos) << outcome.out;
}

// A TMPDIR so long that the temporary folder's path, or the path of the file unpacked into it,
// does not fit: refused with a clear message before anything is written, never cut to another name.
TEST(FaultMatrix, TemporaryPathTooLong) {
    // The private folder is TMPDIR + "/kamora-XXXXXX" (14 characters); "/load.tga" adds 9.
    for (size_t folderLength : {(size_t)1200, (size_t)1020}) {
        ShowRun run = MakeShowRun("long_tmp");
        WriteSmallPackage(run);
        std::string base = run.tempDir;
        while (base.size() + 14 < folderLength) base += "/" + std::string(std::min<size_t>(200, folderLength - 15 - base.size()), 'd');
        ASSERT_EQ(base.size() + 14, folderLength);
        fs::create_directories(base);
        run.tempDir = base;
        const char* what = folderLength > 1023 ? "folder's" : "file's";
        ExpectCleanEnd(run, RunShow(run), {std::string("msgbox: Extract file Error: The temporary ") + what +
                                               " path is too long for load.tga!", kPreloadFailed});
        EXPECT_EQ(RunCommand("find '" + run.folder + "/tmp' -type f").out, "") << folderLength;
    }
}
