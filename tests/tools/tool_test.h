// Tests that run kamora-tool on the build's package, each in a folder of its own.
#pragma once

#include "run_command.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>

inline std::string Build(const std::string& path) { return std::string(KAMORA_BUILD_DIR) + "/" + path; }

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::ifstream(Build("KaMora.ppk"))) GTEST_SKIP() << "no KaMora.ppk in the build";
        folder = MakeTestFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    CommandResult Tool(const std::string& arguments) {
        return RunCommand(Build("kamora-tool") + " " + arguments + " --package '" + Build("KaMora.ppk") + "'", folder);
    }
    std::string folder;
};
