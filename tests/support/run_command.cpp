#include "run_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

CommandResult RunCommand(const std::string& command, const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::string line = "cd '" + folder + "' && ( " + command + " ) 2>&1";
    CommandResult result = {-1, ""};
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

// Folders are kept apart per test: ctest runs the cases of one program side by side, and cases
// that share a fixture would otherwise share (and wipe) each other's folder.
static std::string RunningTestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!test) return "";
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name)
        if (c == '/') c = '_';
    return name + "/";
}

std::string MakeTestFolder(const std::string& name) {
    std::string folder = std::string(KAMORA_BUILD_DIR) + "/test-folders/" + RunningTestName() + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
