// Runs a program of the build and captures what it prints.
#pragma once

#include <string>

struct CommandResult {
    int exitCode;
    std::string out;  // standard output and standard error together
};

// Runs `command` through the shell in `folder` (created when missing).
CommandResult RunCommand(const std::string& command, const std::string& folder = ".");

// A fresh empty folder under the build tree for one test.
std::string MakeTestFolder(const std::string& name);

std::string ReadWholeFile(const std::string& path);
