#include "platform/window.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

// A modern display reports 24-bit colour stored in 32 bits; it must list as 32 bpp, or the
// setup dialog would offer no mode at all.
TEST(DisplayModes, DepthsCountAsTheShowCountsThem) {
    EXPECT_EQ(DisplayModeBits(SDL_PIXELFORMAT_RGB888), 32);
    EXPECT_EQ(DisplayModeBits(SDL_PIXELFORMAT_XRGB8888), 32);
    EXPECT_EQ(DisplayModeBits(SDL_PIXELFORMAT_ARGB8888), 32);
    EXPECT_EQ(DisplayModeBits(SDL_PIXELFORMAT_RGB565), 16);
    EXPECT_EQ(DisplayModeBits(SDL_PIXELFORMAT_RGB555), 16);
    EXPECT_EQ(DisplayModeBits(SDL_PIXELFORMAT_RGB24), 24);  // packed 24-bit: neither list takes it
    EXPECT_EQ(DisplayModeBits(SDL_PIXELFORMAT_INDEX8), 8);
}

TEST(DisplayModes, TestListReplacesTheDisplaysAndIsCutToTheCapacity) {
    const PlatformDisplayMode modes[3] = {{640, 480, 16}, {800, 600, 32}, {1024, 768, 32}};
    PlatformDisplayMode out[2];
    SetTestDisplayModes(modes, 3);
    ASSERT_EQ(ListPrimaryDisplayModes(out, 2), 2);
    EXPECT_EQ(out[1].width, 800);
    SetTestDisplayModes(nullptr, -1);
}
