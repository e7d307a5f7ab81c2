#include "scene/scene.h"

#include "host/debug_log.h"

#include <cstdio>
#include <cstdlib>

// A negative count fails like an exhausted allocation.
static void* AllocBlock(int count, size_t size) {
    if (count < 0) return nullptr;
    return malloc(count ? (size_t)count * size : 1);
}

// The Scene is empty when it is loaded (fresh, or released by UnloadScene). Every block starts
// absent, so after a failing allocation UnloadScene frees only what this call obtained.
bool AllocScene(Scene* scene, int meshCount, int cameraCount, int textureCount) {
    scene->meshes = nullptr;
    scene->targetKeys = scene->eyeKeys = scene->targetPath = scene->eyePath = nullptr;
    scene->textures = nullptr;
    scene->texturesAllocated = 0;
    scene->startFrame = -1;
    scene->meshCount = 0;
    scene->meshes = (Mesh*)AllocBlock(meshCount, sizeof(Mesh));
    if (!scene->meshes) return false;
    scene->cameraCount = 0;
    scene->currentCamera = 0;
    CameraTrack** tracks[4] = {&scene->targetKeys, &scene->eyeKeys, &scene->targetPath, &scene->eyePath};
    for (CameraTrack** track : tracks) {
        *track = (CameraTrack*)AllocBlock(cameraCount, sizeof(CameraTrack));
        if (!*track) return false;
    }
    scene->textures = (Texture*)AllocBlock(textureCount, sizeof(Texture));
    if (!scene->textures) return false;
    scene->texturesAllocated = textureCount;
    for (int i = 0; i < textureCount; ++i) scene->textures[i] = Texture{};
    long total = (long)(meshCount * sizeof(Mesh) + 4 * cameraCount * sizeof(CameraTrack) +
                        textureCount * sizeof(Texture));
    snprintf(LogLineBuffer, sizeof LogLineBuffer, " Allocated: %ld bytes", total);
    WriteDebugLog(LogLineBuffer);
    return true;
}

void UnloadScene(Scene* scene) {
    WriteDebugLog(" Unloading scene");
    free(scene->meshes);
    free(scene->targetKeys);
    free(scene->eyeKeys);
    free(scene->targetPath);
    free(scene->eyePath);
    if (scene->textures)
        for (int i = 0; i < scene->texturesAllocated; ++i) FreeTexturePixels(&scene->textures[i]);
    free(scene->textures);
    scene->texturesAllocated = 0;
    scene->meshes = nullptr;
    scene->targetKeys = scene->eyeKeys = scene->targetPath = scene->eyePath = nullptr;
    scene->textures = nullptr;
}
