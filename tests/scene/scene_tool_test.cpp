// kamora-tool scene: what content authors see of a load.
#include "run_command.h"
#include "scene_test_support.h"
#include "scene_writer.h"

#include <gtest/gtest.h>

static CommandResult RunSceneTool(const std::string& arguments) {
    return RunCommand("timeout 60 " + std::string(KAMORA_BUILD_DIR) + "/kamora-tool scene " + arguments);
}

TEST(SceneTool, PrintsTheLoadAndTheMeshes) {
    TestScene source;
    source.meshes = {MakeStripMesh("a", 4, 1), MakeStripMesh("b", 2, 2), MakeStripMesh("c", 9, 3)};
    source.cameras = {{"cam", MakeKeys(10, 1), MakeKeys(12, 2)}};
    const std::string path = SaveTestFile("tool.3ds", BuildScene(source));
    CommandResult r = RunSceneTool(path);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out.rfind(" 3DS: Loading scene: " + path + "\n", 0), 0u) << r.out;
    for (const char* line : {"\n Objects: 3\n", "\n Total cameras: 1\n",
                             "\n  WARNING: Position and target key's not identical for camera 0. Animation can fail!\n",
                             "\n  SPL: Keys generated: 2107\n  SPL: Keys generated: 2709\n",
                             "\nmesh 0: 4 faces\nmesh 1: 2 faces\nmesh 2: 9 faces\n"})
        EXPECT_TRUE(Contains(r.out, line)) << line << r.out;
    EXPECT_FALSE(Contains(r.out, "Unloading"));
}

TEST(SceneTool, DamagedAndMissingFilesExitOne) {
    std::string junk(5000, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = (char)(i * 131 + 7);
    CommandResult r = RunSceneTool(SaveTestFile("junk.3ds", junk) + " /nonexistent.3ds");
    EXPECT_EQ(r.exitCode, 1) << r.out;
    EXPECT_TRUE(Contains(r.out, "msgbox: 3DS Loader Error:  3DS Error: Unable to open /nonexistent.3ds !\\n")) << r.out;
    EXPECT_EQ(RunSceneTool("").exitCode, 2);
    EXPECT_EQ(RunSceneTool("--help").exitCode, 0);
}
