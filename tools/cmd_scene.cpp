// kamora-tool scene: loads 3DS files as the show does and prints what the load reports.
#include "tool_commands.h"

#include "host/debug_log.h"
#include "platform/process.h"
#include "scene/scene_loader.h"

#include <cstdio>
#include <cstdlib>

static void PrintSceneUsage(FILE* out) {
    fprintf(out, "usage: kamora-tool scene FILE.3ds...\n\n"
                 "Loads each file with the show's scene loader and prints the DebugLog lines of the load,\n"
                 "then one line per mesh: 'mesh <index>: <faces> faces'. Message boxes are printed to\n"
                 "stderr as 'msgbox:' lines. Exits 0 when every file loaded, 1 otherwise.\n");
}

// One file: the load's DebugLog lines, then the meshes. True when LoadScene succeeded.
static bool ReportScene(const char* path) {
    Scene scene = {};
    SetDebugLogEcho(stdout);
    const bool loaded = LoadScene(nullptr, path, &scene);
    SetDebugLogEcho(nullptr);
    for (int m = 0; scene.meshes && m < scene.meshCount; ++m) printf("mesh %d: %d faces\n", m, scene.meshes[m].faceCount);
    UnloadScene(&scene);
    return loaded;
}

static int RunScene(int argc, char** argv) {
    if (WantsHelp(argc, argv)) {
        PrintSceneUsage(stdout);
        return 0;
    }
    if (argc < 2) {
        PrintSceneUsage(stderr);
        return 2;
    }
    SetEnvironmentValue("KAMORA_MSGBOX", "stderr", false);  // a command-line tool reports boxes as text
    setvbuf(stdout, nullptr, _IOLBF, 0);   // keep log lines and box lines in order
    bool allLoaded = true;
    for (int i = 1; i < argc; ++i) allLoaded = ReportScene(argv[i]) && allLoaded;
    return allLoaded ? 0 : 1;
}

static ToolCommand SceneCommand("scene", "load 3DS scenes and print what the loader reports", RunScene);
