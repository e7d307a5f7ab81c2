// The show itself, started as a viewer would start it, in an empty folder.
#include "run_command.h"

#include <gtest/gtest.h>

static std::string Show() { return std::string(KAMORA_BUILD_DIR) + "/kamora"; }

TEST(ShowEndToEnd, MissingPackageEndsWithPreloadBoxAndCleanExit) {
    std::string folder = MakeTestFolder("e2e_missing_package");
    std::string tmp = folder + "/tmp";
    RunCommand("mkdir -p tmp", folder);
    CommandResult r = RunCommand("TMPDIR='" + tmp + "' timeout 60 " + Show() + " -ddebug", folder);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("msgbox: Extract file Error: Package file 'KaMora.ppk' not found!.\\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("msgbox: Pre loading Error: Initialization error"), std::string::npos) << r.out;
    std::string log = ReadWholeFile(folder + "/ddebug.log");
    EXPECT_EQ(log.rfind("\n\n Starting debug info for: Ka Mora - Vardenix (Party)\n", 0), 0u) << log;
    EXPECT_NE(log.find(" [ *** PreLoading *** ]"), std::string::npos);
    // The private temporary folder is gone again.
    EXPECT_EQ(RunCommand("ls -A '" + tmp + "'").out, "");
}

// Whether a run of the show with `args` left ddebug.log in the folder it ran in.
static bool RunLeavesLog(const char* args) {
    std::string folder = MakeTestFolder("e2e_switch");
    CommandResult r = RunCommand("timeout 60 " + Show() + " " + args, folder);
    EXPECT_EQ(r.exitCode, 0) << args << r.out;
    return RunCommand("ls -A", folder).out.find("ddebug.log") != std::string::npos;
}

TEST(ShowEndToEnd, OnlyTheExactSwitchOpensTheLog) {
    EXPECT_TRUE(RunLeavesLog("-ddebug"));  // the check sees a log where there is one
    for (const char* args : {"'-ddebug '", "-nodialog -ddebug", "-DDEBUG"}) EXPECT_FALSE(RunLeavesLog(args)) << args;
}
