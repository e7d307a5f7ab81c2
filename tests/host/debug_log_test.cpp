#include "host/debug_log.h"

#include "run_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

// The log lives in the working directory, so each case runs in a folder of its own.
class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = MakeTestFolder("debug_log");
        getcwd(previous, sizeof previous);
        ASSERT_EQ(chdir(folder.c_str()), 0);
    }
    void TearDown() override {
        CloseDebugLog();
        ASSERT_EQ(chdir(previous), 0);
    }
    std::string folder;
    char previous[4096];
};

TEST_F(DebugLogTest, ClosedLogWritesNothingAndCreatesNoFile) {
    WriteDebugLog(" nothing");
    EXPECT_FALSE(LogEnabled);
    EXPECT_NE(access("ddebug.log", F_OK), 0);
}

TEST_F(DebugLogTest, OpenTruncatesWritesHeaderAndKeepsPercentSigns) {
    FILE* old = fopen("ddebug.log", "w");
    fputs("stale content\n", old);
    fclose(old);
    ASSERT_TRUE(OpenDebugLog());
    WriteDebugLog(" 100% done %s %d");
    CloseDebugLog();
    WriteDebugLog(" after close");
    CloseDebugLog();  // twice is harmless
    EXPECT_EQ(ReadWholeFile("ddebug.log"),
              "\n\n Starting debug info for: Ka Mora - Vardenix (Party)\n 100% done %s %d\n");
}
