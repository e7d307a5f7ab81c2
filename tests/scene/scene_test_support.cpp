#include "scene_test_support.h"

#include "host/debug_log.h"
#include "run_command.h"
#include "scene/scene_loader.h"
#include "scene_writer.h"

#include <cstdio>
#include <gtest/gtest.h>

LoadReport LoadAndReport(const std::string& path, Scene* scene) {
    FILE* echo = tmpfile();
    SetDebugLogEcho(echo);
    testing::internal::CaptureStderr();
    LoadReport report{LoadScene(nullptr, path.c_str(), scene), "", ""};
    report.boxes = testing::internal::GetCapturedStderr();
    SetDebugLogEcho(nullptr);
    rewind(echo);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, echo)) > 0) report.log.append(buffer, n);
    fclose(echo);
    return report;
}

std::string SaveTestFile(const std::string& name, const std::string& bytes) {
    // One folder per test: ctest runs the tests of this program in parallel processes.
    static std::string folder, test;
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string current = std::string(info->test_suite_name()) + "." + info->name();
    if (current != test) {
        test = current;
        folder = MakeTestFolder("scene_" + test);
    }
    std::string path = folder + "/" + name;
    WriteBytes(path, bytes);
    return path;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
