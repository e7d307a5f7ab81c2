// The show started through its setup dialog, as a script starts it.
#include "run_command.h"

#include <gtest/gtest.h>

static std::string Show() { return std::string(KAMORA_BUILD_DIR) + "/kamora"; }

static size_t Find(const std::string& log, const std::string& line, size_t from) {
    size_t at = log.find(line, from);
    EXPECT_NE(at, std::string::npos) << "missing " << line << " in\n" << log;
    return at == std::string::npos ? from : at;
}

TEST(DialogEndToEnd, RunStartsTheShowAfterTheDialogsLines) {
    std::string folder = MakeTestFolder("dialog_e2e_run");
    CommandResult r = RunCommand("KAMORA_DIALOG=run timeout 60 " + Show() + " -ddebug", folder);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    std::string log = ReadWholeFile(folder + "/ddebug.log");
    size_t at = Find(log, "\n Running dialog setup...\n DLG: Creating dialog...\n DLG: Initializing...\n", 0);
    at = Find(log, " DLG: Enumerating display modes...\n", at);
    at = Find(log, " modes found\n DLG: CPU Speed: ", at);
    at = Find(log, " Mhz ~\n DLG: Setting up default config...\n", at);
    at = Find(log, " DLG: Canceled by user (Ok button)\n DLG: Canceled (WM_DESTROY message)\n", at);
    at = Find(log, " Creating OpenGL window...\n", at);
    Find(log, " [ *** PreLoading *** ]\n", at);
    EXPECT_EQ(log.find("Canceled in showing function"), std::string::npos);
}

TEST(DialogEndToEnd, ExitEndsTheProgramWithCodeZero) {
    std::string folder = MakeTestFolder("dialog_e2e_exit");
    CommandResult r = RunCommand("KAMORA_DIALOG=exit timeout 60 " + Show() + " -ddebug", folder);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    std::string log = ReadWholeFile(folder + "/ddebug.log");
    size_t at = Find(log, " DLG: Canceled by user (Cancel button)\n DLG: Canceled (WM_DESTROY message)\n", 0);
    Find(log, " DLG: Canceled in showing function...\n Canceled by user\n", at);
    EXPECT_EQ(log.find("Creating OpenGL window"), std::string::npos);
}

TEST(DialogEndToEnd, WithoutADisplayTheDialogReportsAndTheProgramEnds) {
    std::string folder = MakeTestFolder("dialog_e2e_nodisplay");
    CommandResult r = RunCommand("DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER=x11 timeout 60 " + Show() + " -ddebug", folder);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("msgbox: Tessar Error: Unable to create main dialog!"), std::string::npos) << r.out;
    std::string log = ReadWholeFile(folder + "/ddebug.log");
    Find(log, " DLG CRASH: Unable to create dialog!\n DLG: Canceled in showing function...\n Canceled by user\n", 0);
}
