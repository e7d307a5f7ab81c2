#include "fault_cases.h"

#include <filesystem>

namespace fs = std::filesystem;

const char kPreloadFailed[] = "msgbox: Pre loading Error: Initialization error";
const char kLoadingFailed[] = "msgbox: Error loading: Initialization error";

void ExpectCleanEnd(const ShowRun& run, const ShowOutcome& outcome, const std::vector<std::string>& messages) {
    EXPECT_FALSE(outcome.hung) << "still running after " << run.limitSeconds << " s\n" << outcome.out;
    EXPECT_EQ(outcome.exitCode, 0) << outcome.out;
    for (const std::string& message : messages)
        EXPECT_NE(outcome.out.find(message), std::string::npos) << "missing: " << message << "\n" << outcome.out;
    EXPECT_EQ(SanitizerReport(outcome.out), "");
    EXPECT_EQ(FolderListing(run.tempDir), "") << "left in the temporary folder";
}

std::string EntryFile(const ShowRun& run, const std::string& name, const std::string& bytes) {
    std::string folder = run.folder + ".entries";
    fs::create_directories(folder);
    WriteFile(folder + "/" + name, bytes);
    return folder + "/" + name;
}

std::string Package(const ShowRun& run) { return run.folder + "/KaMora.ppk"; }

std::string Garbage(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = (char)(i * 131 + 7);
    return bytes;
}

void WriteSmallPackage(const ShowRun& run, bool store) {
    std::string picture = EntryFile(run, "load.tga", SmallTga());
    std::string music = EntryFile(run, "music.mp3", Garbage(20000));
    ASSERT_TRUE(PackEntries(Package(run), {picture, music}, store));
}

void CutFile(const std::string& path, long size) { fs::resize_file(path, (uintmax_t)size); }

std::string BuiltPackage() { return std::string(KAMORA_BUILD_DIR) + "/KaMora.ppk"; }

ShowRun WholeShowRun(const std::string& name) {
    ShowRun run = MakeShowRun(name);
    fs::create_symlink(BuiltPackage(), Package(run));
    return run;
}
