// The setup dialog's window under Xvfb: it draws, and its keyboard works as a dialog's.
#include "setup/dialog_ui.h"

#include "dialog_fixture.h"
#include "platform/dialog_window.h"
#include "setup/dialog_frame.h"
#include "setup/setup_dialog.h"

#include <SDL2/SDL.h>
#include <cstdio>

class DialogWindowTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        unsetenv("KAMORA_DIALOG");
        SetDefaultConfig();
        if (!OpenSetupDialogWindow()) GTEST_SKIP() << "no display";
        Settle();
    }
    // A freshly shown window takes a few frames of window-system events; typing starts after
    // them, as a person's would.
    void Settle() {
        for (int i = 0; i < 4; ++i) ASSERT_FALSE(StepSetupDialogWindow());
    }
    void TearDown() override {
        CloseSetupDialogWindow();
        setenv("KAMORA_DIALOG", "run", 1);
        DialogTest::TearDown();
    }
    // A key goes down in one frame and up in the next, as typed.
    bool Type(SDL_Scancode key, Uint16 modifiers = 0, bool oneFrame = false) {
        bool closed = false;
        for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
            SDL_Event event = {};
            event.type = type;
            event.key.windowID = DialogWindowId(SetupDialogWindowHandle());
            event.key.keysym.scancode = key;
            event.key.keysym.sym = SDL_GetKeyFromScancode(key);
            event.key.keysym.mod = modifiers;
            SDL_PushEvent(&event);
            if (!oneFrame || type == SDL_KEYUP) closed = StepSetupDialogWindow() || closed;
        }
        return closed;
    }
};

// Saves the picture as a binary PPM (for a look at the dialog).
static void SavePicture(const DialogCapture& capture, const char* path) {
    FILE* file = fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    fprintf(file, "P6\n%d %d\n255\n", capture.width, capture.height);
    fwrite(capture.rgb, 3, (size_t)capture.width * capture.height, file);
    fclose(file);
}

TEST_F(DialogWindowTest, DrawsTheTemplateAtItsDialogUnits) {
    static unsigned char pixels[4096 * 4096 * 3];
    DialogCapture capture = {pixels, (int)sizeof pixels, 0, 0};
    CaptureNextDialogFrame(&capture);
    EXPECT_FALSE(StepSetupDialogWindow());
    ASSERT_GT(capture.width, 0);
    SavePicture(capture, "setup_dialog.ppm");
    // 229 x 92 dialog units: wider than tall by about the template's ratio.
    double ratio = (double)capture.width / capture.height;
    EXPECT_GT(ratio, 2.0);
    EXPECT_LT(ratio, 3.2);
    // The icon's night-blue corner sits at (196, 15) dialog units.
    int x = (int)(capture.width * 197.0 / 229.0), y = (int)(capture.height * 16.0 / 92.0);
    const unsigned char* icon = pixels + ((long)y * capture.width + x) * 3;
    EXPECT_LT(icon[0], 80);
    EXPECT_GT(icon[2], icon[0]);
}

TEST_F(DialogWindowTest, EnterRunsAndArrowKeysPickTheMode) {
    EXPECT_FALSE(Type(SDL_SCANCODE_DOWN));  // the mode list has the focus at first
    EXPECT_EQ(SetupDialog.modeSelection, 1);
    EXPECT_FALSE(Type(SDL_SCANCODE_TAB));   // to "Fullscreen"
    EXPECT_FALSE(Type(SDL_SCANCODE_SPACE)); // unticks it
    EXPECT_TRUE(Type(SDL_SCANCODE_RETURN));
    EXPECT_FALSE(DemoConfig.cancelled);
    EXPECT_EQ(DemoConfig.width, 1024);
    EXPECT_FALSE(DemoConfig.fullScreen);
    EXPECT_NE(Log().find(" DLG: Canceled by user (Ok button)\n DLG: Canceled (WM_DESTROY message)\n"),
              std::string::npos);
}

TEST_F(DialogWindowTest, EscapeAndAltEExitAndTheCloseBoxToo) {
    EXPECT_TRUE(Type(SDL_SCANCODE_ESCAPE, 0, true));  // down and up within one frame still count
    EXPECT_TRUE(DemoConfig.cancelled);
    CloseSetupDialogWindow();

    ASSERT_TRUE(OpenSetupDialogWindow());
    Settle();
    EXPECT_TRUE(Type(SDL_SCANCODE_E, KMOD_LALT));
    EXPECT_TRUE(DemoConfig.cancelled);
    CloseSetupDialogWindow();

    ASSERT_TRUE(OpenSetupDialogWindow());
    Settle();
    SDL_Event event = {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = DialogWindowId(SetupDialogWindowHandle());
    SDL_PushEvent(&event);
    EXPECT_TRUE(StepSetupDialogWindow() || StepSetupDialogWindow());
    EXPECT_TRUE(DemoConfig.cancelled);
    std::string log = Log();
    int closes = 0;
    for (size_t at = 0; (at = log.find(" DLG: Canceled by user (Cancel button)\n DLG: Canceled (WM_DESTROY", at)) !=
                        std::string::npos;
         ++at)
        ++closes;
    EXPECT_EQ(closes, 3) << log;
}

TEST_F(DialogWindowTest, AQuitRequestClosesTheSoundDialogAndTheDialogBeneathIt) {
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(RunSoundDialogWindow(), 0);  // opens over the setup dialog, then cancels
    EXPECT_TRUE(StepSetupDialogWindow());
    EXPECT_TRUE(DemoConfig.cancelled);
    std::string log = Log();
    EXPECT_NE(log.find(" DLG Sound: Init done.\n DLG Sound: Canceled by user (Cancel button)\n"
                       " DLG Sound: Canceled (WM_DESTROY message)\n DLG: Canceled by user (Cancel button)\n"),
              std::string::npos)
        << log;
}
