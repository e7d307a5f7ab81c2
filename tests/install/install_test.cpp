// The installed program: `cmake --install` into a temporary DESTDIR puts every file in its place,
// the installed show plays from an empty folder with no package in it (and still prefers one in
// the working folder), the desktop files pass their validators, and the Debian package that
// cpack builds passes lintian.
#include "fault_cases.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace fs = std::filesystem;

static const char* const kInstalledFiles[] = {
    "bin/kamora",
    "bin/kamora-tool",
    "share/kamora/KaMora.ppk",
    "share/applications/kamora.desktop",
    "share/metainfo/org.vardenix.kamora.metainfo.xml",
    "share/man/man1/kamora.1.gz",
    "share/man/man1/kamora-tool.1.gz",
    "share/doc/kamora/copyright",
    "share/doc/kamora/changelog.gz",
    "share/icons/hicolor/16x16/apps/kamora.png",
    "share/icons/hicolor/48x48/apps/kamora.png",
    "share/icons/hicolor/256x256/apps/kamora.png",
};

static std::string Build() { return KAMORA_BUILD_DIR; }

// Installs the build under the prefix /usr into `dest`; returns the prefix's path there.
static std::string InstallInto(const std::string& dest) {
    CommandResult install = RunCommand("DESTDIR='" + dest + "' cmake --install '" + Build() + "' --prefix /usr");
    EXPECT_EQ(install.exitCode, 0) << install.out;
    return dest + "/usr";
}

// A run of the installed show in an empty folder; its temporary folder lies beside it, so
// that the working folder holds only what the show itself leaves there.
static ShowRun InstalledRun(const std::string& usr, const std::string& name) {
    ShowRun run = MakeShowRun(name);
    fs::remove_all(run.tempDir);
    run.tempDir = run.folder + ".tmp";
    fs::create_directories(run.tempDir);
    run.program = usr + "/bin/kamora";
    return run;
}

TEST(InstalledProgram, PlaysFromAnyFolderAndWritesItsLogWhereItRuns) {
    if (!fs::exists(Build() + "/KaMora.ppk")) GTEST_SKIP() << "the build was configured with -DKAMORA_CONTENT=OFF";
    std::string usr = InstallInto(MakeTestFolder("dest"));
    for (const char* file : kInstalledFiles) EXPECT_TRUE(fs::is_regular_file(usr + "/" + file)) << file;

    ShowRun show = InstalledRun(usr, "installed_show");
    PlayIntoFile(&show);
    show.signal = SIGTERM;
    show.signalWhen = MusicPlaying;
    show.limitSeconds = 300;
    ShowOutcome outcome = RunShow(show);
    ExpectCleanEnd(show, outcome, {});
    EXPECT_TRUE(outcome.signalled) << "the music never began\n" << outcome.out;
    EXPECT_EQ(outcome.out.find("msgbox: "), std::string::npos) << outcome.out;
    EXPECT_EQ(FolderListing(show.folder), "");

    // The DebugLog goes to the working folder, not beside the program.
    ShowRun logged = InstalledRun(usr, "installed_log");
    logged.arguments = "-ddebug";
    logged.env = {"KAMORA_DIALOG=exit"};
    ExpectCleanEnd(logged, RunShow(logged), {});
    EXPECT_EQ(FolderListing(logged.folder), "ddebug.log\n");

    // A package in the working folder comes first: this one fails its load.
    ShowRun local = InstalledRun(usr, "installed_local_package");
    WriteSmallPackage(local);
    ExpectCleanEnd(local, RunShow(local), {kLoadingFailed});
}

TEST(InstalledProgram, DesktopFilesAndDebianPackagePassTheirChecks) {
    if (!fs::exists(Build() + "/KaMora.ppk")) GTEST_SKIP() << "the build was configured with -DKAMORA_CONTENT=OFF";
    std::string root = MakeTestFolder("package");
    std::string usr = InstallInto(root + "/dest");
    CommandResult desktop = RunCommand("desktop-file-validate '" + usr + "/share/applications/kamora.desktop'");
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out;
    EXPECT_EQ(desktop.out, "");
    CommandResult metainfo =
        RunCommand("appstreamcli validate --no-net '" + usr + "/share/metainfo/org.vardenix.kamora.metainfo.xml'");
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out;

    CommandResult pack = RunCommand("cpack -G DEB --config '" + Build() + "/CPackConfig.cmake' -B '" + root + "/deb'");
    ASSERT_EQ(pack.exitCode, 0) << pack.out;
    std::string deb;
    for (const auto& entry : fs::directory_iterator(root + "/deb"))
        if (entry.path().extension() == ".deb") deb = entry.path().string();
    ASSERT_NE(deb, "") << pack.out;
    EXPECT_EQ(fs::path(deb).filename().string().rfind("kamora_", 0), 0u) << deb;
    // Its dependencies come from the linked libraries.
    CommandResult depends = RunCommand("dpkg-deb -f '" + deb + "' Depends");
    EXPECT_NE(depends.out.find("libsdl2-2.0-0"), std::string::npos) << depends.out;
    EXPECT_NE(depends.out.find("libmpg123-0"), std::string::npos) << depends.out;
    CommandResult lintian = RunCommand("lintian --fail-on error '" + deb + "'");
    EXPECT_EQ(lintian.exitCode, 0) << lintian.out;
    EXPECT_EQ(lintian.out.find("E: "), std::string::npos) << lintian.out;
    fs::remove_all(root);
}

// The toolbox's manual page names every command that `kamora-tool --help` lists.
TEST(InstalledProgram, ToolboxManualNamesEveryCommand) {
    CommandResult help = RunCommand("'" + Build() + "/kamora-tool' --help");
    ASSERT_EQ(help.exitCode, 0) << help.out;
    std::string manual = ReadWholeFile(std::string(KAMORA_SOURCE_DIR) + "/packaging/man/kamora-tool.1");
    int commands = 0;
    size_t at = help.out.find("Commands:\n");
    ASSERT_NE(at, std::string::npos) << help.out;
    for (size_t line = at + 10; line < help.out.size() && help.out.compare(line, 2, "  ") == 0;) {
        size_t end = help.out.find('\n', line);
        std::string name = help.out.substr(line + 2, help.out.find(' ', line + 2) - line - 2);
        EXPECT_NE(manual.find("\n.B " + name), std::string::npos) << name << " is missing from kamora-tool.1";
        ++commands;
        line = end + 1;
    }
    EXPECT_GT(commands, 10);
}
