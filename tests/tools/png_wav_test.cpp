#include "lib/music_export.h"
#include "lib/png.h"
#include "lib/virtual_show.h"
#include "run_command.h"

#include <gtest/gtest.h>

TEST(Png, RoundTripsAnImageLargerThanOneStoredBlock) {
    RgbImage image;
    image.width = 300;
    image.height = 100;  // 90,100 bytes of rows: two stored blocks
    for (int i = 0; i < image.width * image.height * 3; ++i) image.pixels.push_back((uint8_t)(i * 7 + i / 300));
    std::string path = MakeTestFolder("png") + "/a.png";
    ASSERT_TRUE(WritePng(path, image));
    RgbImage back;
    ASSERT_TRUE(ReadPng(path, &back));
    EXPECT_EQ(back.width, 300);
    EXPECT_EQ(back.height, 100);
    EXPECT_EQ(back.pixels, image.pixels);
    EXPECT_FALSE(ReadPng(path + ".missing", &back));
}

TEST(MusicSpan, BytesOfAFrameAreWholeSampleFramesOfItsInstant) {
    EXPECT_EQ(MusicBytesAtFrame(0, 30, 176400, 4), 0u);
    EXPECT_EQ(MusicBytesAtFrame(30, 30, 176400, 4), 176400u);
    EXPECT_EQ(MusicBytesAtFrame(1, 60, 176400, 4), 2940u);
    EXPECT_EQ(MusicBytesAtFrame(1, 7, 176400, 4), 25200u);
    EXPECT_EQ(MusicBytesAtFrame(1, 9, 176400, 4), 19600u);
    EXPECT_EQ(MusicBytesAtFrame(1, 11, 176400, 4), 16036u);  // 16036.36 down to a whole frame
}

TEST(VirtualShow, FramesAtSecondsAndSizes) {
    EXPECT_EQ(FrameAtSeconds(1.0, 30), 30);
    EXPECT_EQ(FrameAtSeconds(0.999, 30), 29);
    EXPECT_EQ(FrameAtSeconds(2.1, 10), 21);  // not 20 from a binary rounding
    int w, h;
    EXPECT_TRUE(ParseSize("320x240", &w, &h));
    EXPECT_EQ(w * 1000 + h, 320240);
    EXPECT_FALSE(ParseSize("320", &w, &h));
    EXPECT_FALSE(ParseSize("0x10", &w, &h));
}
