#include "lib/frame_pixels.h"
#include "lib/music_export.h"
#include "lib/png.h"
#include "lib/virtual_show.h"
#include "run_command.h"

#include <gtest/gtest.h>

TEST(Png, RoundTripsAndRefusesWhatIsNoPng) {
    RgbImage image;
    image.width = 300;
    image.height = 100;
    for (int i = 0; i < image.width * image.height * 3; ++i) image.pixels.push_back((uint8_t)(i * 7 + i / 300));
    std::string path = MakeTestFolder("png") + "/a.png";
    ASSERT_TRUE(WritePng(path, image));
    RgbImage back;
    ASSERT_TRUE(ReadPng(path, &back));
    EXPECT_EQ(back.width, 300);
    EXPECT_EQ(back.height, 100);
    EXPECT_EQ(back.pixels, image.pixels);
    EXPECT_FALSE(ReadPng(path + ".missing", &back));
    EXPECT_FALSE(ReadPng(KAMORA_SOURCE_DIR "/CMakeLists.txt", &back));
    image.pixels.pop_back();  // fewer pixels than the size says: refused, nothing written
    EXPECT_FALSE(WritePng(path + "2", image));
    EXPECT_EQ(RunCommand("ls " + path + "2*").exitCode, 2);
}

TEST(FramePixels, RowsAreFlippedAndBlocksAveragedWithRounding) {
    // 2x4 pixels from GL, bottom row first; one channel varies, the others stay 0 and 255.
    const uint8_t bottom[] = {10, 0, 255, 20, 0, 255}, low[] = {30, 0, 255, 41, 0, 255},
                  high[] = {1, 0, 255, 2, 0, 255}, top[] = {3, 0, 255, 4, 0, 255};
    std::vector<uint8_t> rows;
    for (const uint8_t* row : {bottom, low, high, top}) rows.insert(rows.end(), row, row + 6);
    RgbImage same, half;
    FrameFromGlRows(rows.data(), 2, 4, 1, &same);
    EXPECT_EQ(same.pixels[0], 3);    // the top row comes first
    EXPECT_EQ(same.pixels[21], 20);  // and the bottom row last
    FrameFromGlRows(rows.data(), 2, 4, 2, &half);
    ASSERT_EQ(half.width * 10 + half.height, 12);
    EXPECT_EQ(std::vector<uint8_t>(half.pixels.begin(), half.pixels.end()),
              (std::vector<uint8_t>{3, 0, 255, 25, 0, 255}));  // (1+2+3+4)/4 = 2.5 -> 3; 101/4 -> 25
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
