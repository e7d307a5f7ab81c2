// Drives the dialogs' logic without a screen: each case runs in its own folder with the
// DebugLog open, boxes printed to stderr, and a display mode list of the test's choosing.
#pragma once

#include "host/debug_log.h"
#include "host/demo_config.h"
#include "music/music.h"
#include "platform/window.h"
#include "run_command.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(folder.c_str()), 0);
        ASSERT_TRUE(OpenDebugLog());
        unsetenv("KAMORA_MSGBOX_ANSWER");
        DemoConfig = DemoConfigRecord{};
        DemoConfig.title = DemoTitle;
        UseModes({{800, 600, 32}, {640, 480, 16}, {1024, 768, 16}, {1280, 1024, 32}});
    }
    void TearDown() override {
        StopSound();
        CloseDebugLog();
        SetTestDisplayModes(nullptr, -1);
        ASSERT_EQ(chdir(previous), 0);
    }
    void UseModes(std::vector<PlatformDisplayMode> list) {
        modes = std::move(list);
        SetTestDisplayModes(modes.data(), (int)modes.size());
    }
    // The log so far, without its header.
    std::string Log() {
        CloseDebugLog();
        std::string text = ReadWholeFile("ddebug.log");
        size_t start = text.find("\n ", 3);
        return start == std::string::npos ? "" : text.substr(start + 1);
    }
    std::vector<PlatformDisplayMode> modes;
    char previous[4096];
};
