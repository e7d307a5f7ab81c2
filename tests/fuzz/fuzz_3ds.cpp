// libFuzzer target: the 3DS chunk reader and scene loader on arbitrary files (no GL context needed).
#include "scene/scene_loader.h"

#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* path = WriteFuzzInput(data, size);
    if (!path) return 0;
    static Scene scene;
    scene.textureCount = (int8_t)(size % 3);
    LoadScene(nullptr, path, &scene);
    // Walk what the Scene claims to hold, so a count beyond its block shows up.
    volatile float sum = 0;
    for (int m = 0; scene.meshes && m < scene.meshCount; ++m)
        for (int f = 0; f < scene.meshes[m].faceCount; ++f) sum = sum + scene.meshes[m].faces[f].vertices[2].v;
    for (int k = 0; scene.eyePath && k < scene.cameraCount; ++k)
        if (scene.eyePath[k].count > 0) sum = sum + scene.eyePath[k].points[scene.eyePath[k].count - 1].x;
    UnloadScene(&scene);
    return 0;
}
