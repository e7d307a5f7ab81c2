// Raw colour tables: bytes become colours of byte / 255, a short file reads on as end-of-file, the
// extracted file goes away after reading.
#include "effects/colour_table.h"
#include "package/package.h"
#include "run_command.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

static void WriteExtracted(const std::string& path, const std::string& bytes) {
    snprintf(ExtractedPath, sizeof ExtractedPath, "%s", path.c_str());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ColourTable, BytesOver255AndAShortFileReadsOnAsEndOfFile) {
    const std::string path = MakeTestFolder("colour_table") + "/sinscrol.raw";
    WriteExtracted(path, std::string("\x00\xff\x80", 3));
    float colours[5];
    ASSERT_TRUE(ReadColourTable(colours, 5));
    EXPECT_EQ(colours[0], 0);
    EXPECT_NEAR(colours[1], 1, 1e-6);
    EXPECT_NEAR(colours[2], 128 / 255.0, 1e-6);
    EXPECT_NEAR(colours[3], -1 / 255.0, 1e-6) << "past the end: slightly negative, as the show had it";
    EXPECT_NEAR(colours[4], -1 / 255.0, 1e-6);
    EXPECT_FALSE(std::ifstream(path).good()) << "the extracted file is deleted";
}

TEST(ColourTable, MissingFileIsReported) {
    snprintf(ExtractedPath, sizeof ExtractedPath, "%s", (MakeTestFolder("colour_table_missing") + "/ese.raw").c_str());
    float colours[1] = {7};
    EXPECT_FALSE(ReadColourTable(colours, 1));
    EXPECT_EQ(colours[0], 7);
}
