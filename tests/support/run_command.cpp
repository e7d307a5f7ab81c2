#include "run_command.h"

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

std::string MakeTestFolder(const std::string& name) {
    std::string folder = std::string(KAMORA_BUILD_DIR) + "/test-folders/" + name;
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
