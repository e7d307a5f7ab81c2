// The 4:3 picture area in any drawable, the offscreen draw at a smaller size scaled into it,
// and the window's full-screen switches (a refused one, Alt+Enter and F11).
#include "gfx/gl.h"
#include "gfx/offscreen.h"
#include "gfx/picture_area.h"
#include "gfx/window.h"
#include "host/demo_config.h"
#include "platform/events.h"
#include "platform/window.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

static void ExpectRect(const PictureRect& r, int x, int y, int width, int height) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, width);
    EXPECT_EQ(r.height, height);
}

TEST(PictureArea, IsTheLargestCentred43Rectangle) {
    ExpectRect(FitPictureArea(1920, 1080), 240, 0, 1440, 1080);
    ExpectRect(FitPictureArea(1920, 1200), 160, 0, 1600, 1200);
    ExpectRect(FitPictureArea(2560, 1080), 560, 0, 1440, 1080);
    ExpectRect(FitPictureArea(768, 1024), 0, 224, 768, 576);
    ExpectRect(FitPictureArea(1280, 1024), 0, 32, 1280, 960);
    ExpectRect(FitPictureArea(640, 480), 0, 0, 640, 480);
    ExpectRect(FitPictureArea(640, 0), 319, 0, 1, 1);  // a collapsed window still has a pixel
}

// Cases that open windows put the test hooks back and close their window, even when they fail.
class DemoWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetTestFullScreenRefused(false);
        SetOffscreenRefused(false);
        unsetenv("KAMORA_MSGBOX_ANSWER");
        DestroyDemoWindow();
    }
};

static void OpenHiddenWindow(int width, int height, bool fullScreen) {
    SetHiddenWindow(true);
    WindowWidth = width;
    WindowHeight = height;
    ASSERT_EQ(CreateDemoWindow(DemoTitle, width, height, 32, fullScreen), 1);
}

static void ReadPixel(int x, int y, unsigned char rgb[3]) {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

static void ExpectPixel(int x, int y, int r, int g, int b) {
    unsigned char rgb[3];
    ReadPixel(x, y, rgb);
    EXPECT_EQ(rgb[0], r) << x << "," << y;
    EXPECT_EQ(rgb[1], g) << x << "," << y;
    EXPECT_EQ(rgb[2], b) << x << "," << y;
}

// A frame whose left half is red and right half blue, drawn into wherever the picture goes.
static void DrawHalves() {
    BeginPictureFrame();
    const PictureRect t = PictureDrawTarget();
    glScissor(t.x, t.y, t.width / 2, t.height);
    glClearColor(1, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(t.x + t.width / 2, t.y, t.width - t.width / 2, t.height);
    glClearColor(0, 0, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    EndPictureFrame();
    glFinish();
}

TEST_F(DemoWindowTest, SmallerDrawSizeIsDrawnOffscreenAndScaledIntoTheAreaOrNativelyWithout) {
    OpenHiddenWindow(400, 300, false);
    SetPictureDrawSize(100, 75);
    ASSERT_TRUE(PictureDrawnOffscreen()) << "the driver offers no framebuffer objects";
    BeginPictureFrame();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 100);
    EXPECT_EQ(viewport[3], 75);
    EndPictureFrame();
    DrawHalves();
    ExpectPixel(5, 5, 255, 0, 0);  // the 100 x 75 picture fills the 400 x 300 window
    ExpectPixel(180, 290, 255, 0, 0);
    ExpectPixel(220, 150, 0, 0, 255);
    ExpectPixel(395, 295, 0, 0, 255);

    // A drawable wider than 4:3 keeps black bars beside the scaled picture.
    PlacePicture(400, 200);
    ExpectRect(PictureArea(), 66, 0, 267, 200);
    EXPECT_TRUE(PictureDrawnOffscreen());
    DrawHalves();
    ExpectPixel(65, 100, 0, 0, 0);
    ExpectPixel(66, 100, 255, 0, 0);
    ExpectPixel(332, 100, 0, 0, 255);
    ExpectPixel(333, 100, 0, 0, 0);

    // A draw size as large as the area, or a driver without framebuffer objects: drawn natively.
    SetPictureDrawSize(400, 300);
    EXPECT_FALSE(PictureDrawnOffscreen());
    SetOffscreenRefused(true);
    DestroyDemoWindow();
    OpenHiddenWindow(400, 300, false);
    SetPictureDrawSize(100, 75);
    EXPECT_FALSE(PictureDrawnOffscreen());
    ExpectRect(PictureDrawTarget(), 0, 0, 400, 300);
}

// F11 pumped while loading, with a picked mode smaller than the display: the picture goes native
// in the middle of a frame, and the next frames must reach the window, not the framebuffer.
TEST_F(DemoWindowTest, APictureThatGoesNativeMidFrameDrawsIntoTheWindowAgain) {
    OpenHiddenWindow(400, 300, false);
    SetPictureDrawSize(100, 75);
    ASSERT_TRUE(PictureDrawnOffscreen()) << "the driver offers no framebuffer objects";
    BeginPictureFrame();
    SetPictureDrawSize(0, 0);
    EndPictureFrame();
    GLint bound = -1;
    glGetIntegerv(0x8CA6, &bound);  // GL_FRAMEBUFFER_BINDING
    EXPECT_EQ(bound, 0);
    DrawHalves();
    ExpectPixel(5, 5, 255, 0, 0);
    ExpectPixel(395, 295, 0, 0, 255);
}

TEST_F(DemoWindowTest, ARefusedSwitchAsksAndYesGivesAWindowNoEndsCreation) {
    SetTestFullScreenRefused(true);
    testing::internal::CaptureStderr();
    setenv("KAMORA_MSGBOX_ANSWER", "yes", 1);
    OpenHiddenWindow(64, 48, true);
    EXPECT_FALSE(FullScreen);
    DestroyDemoWindow();
    setenv("KAMORA_MSGBOX_ANSWER", "no", 1);
    SetHiddenWindow(true);
    EXPECT_EQ(CreateDemoWindow(DemoTitle, 64, 48, 32, true), 0);
    EXPECT_EQ(GLContext.window, nullptr);
    std::string boxes = testing::internal::GetCapturedStderr();
    const std::string question = "msgbox: Quil GL: The Requested Fullscreen Mode Is Not Supported By";
    size_t first = boxes.find(question);
    ASSERT_NE(first, std::string::npos) << boxes;
    EXPECT_NE(boxes.find(question, first + 1), std::string::npos) << boxes;
    EXPECT_NE(boxes.find("msgbox: ERROR: Program Will Now Close."), std::string::npos) << boxes;
}

TEST_F(DemoWindowTest, AltEnterAndF11SwitchItOnceAPress) {
    OpenHiddenWindow(64, 48, false);
    ASSERT_FALSE(FullScreen);
    DemoWindowProc(GLContext.window, MSG_KEYDOWN, kKeyF11, 0);
    EXPECT_TRUE(FullScreen);
    DemoWindowProc(GLContext.window, MSG_KEYDOWN, kKeyF11, 0);  // the key's repeat
    EXPECT_TRUE(FullScreen);
    DemoWindowProc(GLContext.window, MSG_KEYUP, kKeyF11, 0);
    DemoWindowProc(GLContext.window, MSG_KEYDOWN, kKeyEnter, 0);  // Enter alone does nothing
    EXPECT_TRUE(FullScreen);
    DemoWindowProc(GLContext.window, MSG_KEYUP, kKeyEnter, 0);
    DemoWindowProc(GLContext.window, MSG_KEYDOWN, kKeyAlt, 0);
    DemoWindowProc(GLContext.window, MSG_KEYDOWN, kKeyEnter, 0);
    EXPECT_FALSE(FullScreen);
    DemoWindowProc(GLContext.window, MSG_KEYUP, kKeyEnter, 0);
    DemoWindowProc(GLContext.window, MSG_KEYUP, kKeyAlt, 0);

    SetTestFullScreenRefused(true);  // a refused switch leaves everything as it was
    DemoWindowProc(GLContext.window, MSG_KEYDOWN, kKeyF11, 0);
    EXPECT_FALSE(FullScreen);
}
