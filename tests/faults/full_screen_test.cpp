// The show in full screen on a 16:9 screen of its own (a private Xvfb of 1600 x 900 with a small
// window manager, and a 640 x 480 mode it could be switched to): its 4:3 picture between black
// bars of 200 columns, and the screen's size and mode the same before, during and after.
// Screenshots come from kamora-x-poke.
#include "fault_cases.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

static std::string Build(const std::string& name) { return std::string(KAMORA_BUILD_DIR) + "/" + name; }

// A private X screen with openbox on it, both stopped by PID at the end; DISPLAY points at it
// meanwhile (each case runs in a process of its own).
class WideScreen : public ::testing::Test {
protected:
    void SetUp() override {
        if (RunCommand("command -v Xvfb && command -v openbox && command -v xrandr").exitCode != 0)
            GTEST_SKIP() << "Xvfb, openbox or xrandr missing (scripts/install-deps.sh installs them)";
        if (!fs::exists(Build("KaMora.ppk"))) GTEST_SKIP() << "no KaMora.ppk in the build";
        folder = MakeTestFolder("wide_screen");
        // Xvfb picks a free display number itself and writes it once it is ready.
        server = Start("Xvfb -displayfd 3 -screen 0 1600x900x24 -noreset -nolisten tcp 3>display.txt");
        for (int i = 0; i < 100 && ReadWholeFile(folder + "/display.txt").empty(); ++i) Wait(0.05);
        std::string number = ReadWholeFile(folder + "/display.txt");
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        display = ":" + number.substr(0, number.find('\n'));
        previousDisplay = getenv("DISPLAY") ? getenv("DISPLAY") : "";
        setenv("DISPLAY", display.c_str(), 1);
        manager = Start("openbox --sm-disable");
        for (int i = 0; i < 100 && RunCommand("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window").exitCode; ++i)
            Wait(0.05);
        // A 640 x 480 mode the screen could switch to: a show that changed the mode would show.
        RunCommand("xrandr --newmode 640x480_vga 25.175 640 656 752 800 480 490 492 525 && "
                   "xrandr --addmode screen 640x480_vga");
        screenBefore = Screen();
        ASSERT_NE(screenBefore.find("640x480_vga"), std::string::npos) << screenBefore;
    }
    void TearDown() override {
        if (!manager.empty()) RunCommand("kill " + manager + "; while kill -0 " + manager + " 2>/dev/null; do sleep 0.05; done");
        if (!server.empty()) RunCommand("kill " + server + "; while kill -0 " + server + " 2>/dev/null; do sleep 0.05; done");
        if (!display.empty()) setenv("DISPLAY", previousDisplay.c_str(), 1);
    }
    // Starts `command` in the background in the case's folder and returns its PID.
    std::string Start(const std::string& command) {
        std::string pid = RunCommand(command + " >/dev/null 2>&1 & echo $!", folder).out;
        return pid.substr(0, pid.find('\n'));
    }
    static void Wait(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }
    // The screen's size and every mode line with the current one marked.
    std::string Screen() { return RunCommand("xrandr --current; xdpyinfo | grep dimensions").out; }

    // Runs the show and takes screenshots while it plays, until one shows the opening's white
    // band across the middle of the screen; then Escape ends it. Returns that screenshot (empty
    // when none did).
    std::vector<unsigned char> ShowAndShoot(ShowRun run, std::string* screenDuring) {
        // A clean end all the same when no screenshot comes; the opening comes within seconds, but
        // a sanitizer build beside other work loads for a good while first.
        run.signal = SIGTERM;
        run.signalDelay = 100;
        run.limitSeconds = 130;
        std::vector<unsigned char> shot;
        std::thread shooter([&] {
            Wait(2.5);  // nothing here may allocate while RunShow forks the show and its poke
            const std::string file = folder + "/shot.ppm";
            for (double t = 2.5; t < 95 && shot.empty(); t += 0.5) {
                Wait(0.5);
                if (RunCommand(Build("kamora-x-poke") + " shot '" + file + "'").exitCode != 0) continue;
                std::string ppm = ReadWholeFile(file);
                const std::string header = "P6\n1600 900\n255\n";
                if (ppm.size() != header.size() + 1600 * 900 * 3 || ppm.compare(0, header.size(), header)) continue;
                std::vector<unsigned char> pixels(ppm.begin() + header.size(), ppm.end());
                if (BandAcrossTheArea(pixels)) {
                    shot = pixels;
                    *screenDuring = Screen();
                    RunCommand(Build("kamora-x-poke") + " escape 0 2");  // held until the show has seen it
                }
            }
        });
        outcome = RunShow(run);
        shooter.join();
        return shot;
    }
    // The show ends cleanly; a screenshot during it has its picture between black bars; the
    // screen's size and mode never change.
    void ShowOnTheWideScreen(const ShowRun& run) {
        std::string during;
        std::vector<unsigned char> shot = ShowAndShoot(run, &during);
        ExpectCleanEnd(run, outcome, {});
        ASSERT_FALSE(shot.empty()) << "no screenshot showed the picture across 1200 columns\n" << outcome.out;
        ExpectBlackBars(shot);
        EXPECT_EQ(during, screenBefore);
        EXPECT_EQ(Screen(), screenBefore);
    }
    static int Channel(const std::vector<unsigned char>& pixels, int x, int y, int c) {
        return pixels[((size_t)y * 1600 + x) * 3 + c];
    }
    // The band lies over the middle two thirds of the picture's height: every pixel of the
    // middle row at least a fifth white, across the whole 4:3 area.
    static bool BandAcrossTheArea(const std::vector<unsigned char>& pixels) {
        for (int x = 200; x < 1400; ++x)
            for (int c = 0; c < 3; ++c)
                if (Channel(pixels, x, 450, c) < 45) return false;
        return true;
    }
    static void ExpectBlackBars(const std::vector<unsigned char>& pixels) {
        int lit = 0;
        for (int y = 0; y < 900; ++y)
            for (int x : {0, 100, 199, 1400, 1500, 1599})
                for (int c = 0; c < 3; ++c) lit += Channel(pixels, x, y, c) != 0;
        for (int x = 0; x < 1600; ++x)
            if (x < 200 || x >= 1400)
                for (int y : {0, 300, 450, 600, 899}) lit += Channel(pixels, x, y, 0) != 0;
        EXPECT_EQ(lit, 0) << "lit pixels in the bars";
    }

    std::string folder, server, manager, display, previousDisplay, screenBefore;
    ShowOutcome outcome;
};

static ShowRun WholeShow(const std::string& name) {
    ShowRun run = MakeShowRun(name);
    fs::create_symlink(Build("KaMora.ppk"), Package(run));
    return run;
}

// Run in the untouched dialog picks the desktop's own mode: the picture is drawn at 1200 x 900.
TEST_F(WideScreen, DialogRunGivesFullScreenAtTheDisplaysResolutionBetweenBars) {
    ShowRun run = WholeShow("wide_dialog");
    run.arguments = "-ddebug";
    run.env = {"KAMORA_DIALOG=run"};
    ShowOnTheWideScreen(run);
    std::string log = ReadWholeFile(run.folder + "/ddebug.log");
    EXPECT_NE(log.find(" DLG: Video mode is 1600x900 32 bpp\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" - Fullscreen mode\n - Changing display setting...\n"), std::string::npos) << log;
}

// A window of the picked 640 x 480 switched to full screen by F11 mid-show: drawn at 640 x 480
// and scaled to fill the 1200 x 900 area, the show going on undisturbed.
TEST_F(WideScreen, F11MidShowFillsTheAreaFromTheSmallerPickedMode) {
    ShowRun run = WholeShow("wide_f11");
    run.poke = "f11";
    run.pokeDelay = 0.5;
    ShowOnTheWideScreen(run);
}
