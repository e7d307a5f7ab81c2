#include "platform/events.h"

#include "gfx/window.h"
#include "platform/msgbox.h"

#include <gtest/gtest.h>

TEST(Events, CloseDuringLoadingIsNotLostInAPumpStep) {
    SetWindowProcedure(DemoWindowProc);
    ClearQuitRequest();
    // Loading pumps messages: the close arrives and is dispatched there, not in the main loop.
    PostPlatformMessage(MSG_CLOSE, 0, 0);
    PumpOneMessage();
    PumpAllMessages();
    PumpOneMessage();
    PlatformMessage message;
    ASSERT_TRUE(PeekPlatformMessage(&message));
    EXPECT_EQ(message.id, MSG_QUIT);
    EXPECT_EQ(message.wParam, 0u);
    ClearQuitRequest();
}

TEST(Events, WindowProcedureRecordsKeysAndMinimising) {
    SetWindowProcedure(DemoWindowProc);
    PostPlatformMessage(MSG_KEYDOWN, 27, 0);
    PostPlatformMessage(MSG_ACTIVATE, 1u << 16, 0);
    PumpAllMessages();
    EXPECT_TRUE(KeyState[27]);
    EXPECT_FALSE(WindowActive);
    PostPlatformMessage(MSG_KEYUP, 27, 0);
    PostPlatformMessage(MSG_ACTIVATE, 1, 0);
    PumpAllMessages();
    EXPECT_FALSE(KeyState[27]);
    EXPECT_TRUE(WindowActive);
}

TEST(Events, VirtualKeysAreUpperCaseLettersDigitsAndEscape) {
    EXPECT_EQ(VirtualKeyFromSdl('a'), (uint32_t)'A');
    EXPECT_EQ(VirtualKeyFromSdl('z'), (uint32_t)'Z');
    EXPECT_EQ(VirtualKeyFromSdl('7'), (uint32_t)'7');
    EXPECT_EQ(VirtualKeyFromSdl(27), 27u);
}

TEST(MessageBoxLine, LineFeedsAreWrittenAsBackslashN) {
    char line[256];
    FormatMessageLine(line, sizeof line, "Extract file Error", "Package file 'x' not found!.\n");
    EXPECT_STREQ(line, "msgbox: Extract file Error: Package file 'x' not found!.\\n");
}
