// What one LoadScene call reported, for the scene tests.
#pragma once

#include "scene/scene.h"

#include <string>

struct LoadReport {
    bool loaded;
    std::string log;    // DebugLog lines of the load
    std::string boxes;  // "msgbox:" lines
};

LoadReport LoadAndReport(const std::string& path, Scene* scene);
// Writes `bytes` as `name` into the scene tests' folder and returns its path.
std::string SaveTestFile(const std::string& name, const std::string& bytes);
bool Contains(const std::string& text, const std::string& part);
