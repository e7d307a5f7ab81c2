#include "scene/scene_loader.h"

#include "host/debug_log.h"
#include "scene/bspline.h"
#include "scene/chunk_reader.h"

#include <cstdio>
#include <cstring>

enum { kStepsPerSegment = 300 };

static void LogLine(const char* format, int a, int b = 0, int c = 0, int d = 0, int e = 0) {
    snprintf(LogLineBuffer, sizeof LogLineBuffer, format, a, b, c, d, e);
    WriteDebugLog(LogLineBuffer);
}

static void CopyMeshes(Scene* scene) {
    for (int m = 0; m < scene->meshCount; ++m) {
        Mesh* mesh = &scene->meshes[m];
        const ObjectSlot& slot = Loader.objects[m];
        mesh->texture = kNoTexture;  // the Effect picks the textured ones
        mesh->faded = 0;
        mesh->alpha = 1.0f;
        mesh->cullFace = 0;
        mesh->visible = 1;
        mesh->additive = 0;
        mesh->envMap = 0;
        mesh->faceCount = slot.faceCount;
        memcpy(mesh->faces, slot.faces, (size_t)slot.faceCount * sizeof(Face));
    }
}

// A key track outside the table reads as empty.
static void CopyKeys(CameraTrack* keys, int node) {
    keys->count = 0;
    if (node < 0 || node >= kMaxKeyTracks) return;
    const KeyTrack& track = Loader.keyTracks[node];
    keys->count = track.count;
    memcpy(keys->points, track.points, (size_t)track.count * sizeof(Vec3));
}

static int KeyCount(int node) { return node >= 0 && node < kMaxKeyTracks ? Loader.keyTracks[node].count : 0; }

static bool BuildCamera(WindowHandle owner, Scene* scene, int k) {
    const int eye = Loader.cameraObjects[k], target = eye + 1;
    LogLine("  [Camera %d]: Indexes: Position at %d Target at %d\n  Target keys: %d Position keys: %d", k, eye,
            target, KeyCount(target), KeyCount(eye));
    CopyKeys(&scene->eyeKeys[k], eye);
    CopyKeys(&scene->targetKeys[k], target);
    if (scene->eyeKeys[k].count != scene->targetKeys[k].count)
        LogLine("  WARNING: Position and target key's not identical for camera %d. Animation can fail!", k);
    LogLine("  Calculating splines for cam %d", k);
    if (ExpandBSpline(&scene->eyeKeys[k], &scene->eyePath[k], kStepsPerSegment) &&
        ExpandBSpline(&scene->targetKeys[k], &scene->targetPath[k], kStepsPerSegment))
        return true;
    ShowMessageBox(owner, "Error generating spline for scene!\nOverflow", "3DS Loader", MB_OK | MB_ICONERROR);
    UnloadScene(scene);
    return false;
}

bool LoadScene(WindowHandle owner, const char* path, Scene* scene) {
    snprintf(LogLineBuffer, sizeof LogLineBuffer, " 3DS: Loading scene: %s", path);
    WriteDebugLog(LogLineBuffer);
    FILE* file = fopen(path, "rb");
    if (!file) {
        snprintf(LogLineBuffer, sizeof LogLineBuffer, " 3DS Error: Unable to open %s !\n", path);
        WriteDebugLog(LogLineBuffer);
        ShowMessageBox(owner, LogLineBuffer, "3DS Loader Error", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
        return false;
    }
    ResetLoaderState(owner);
    fseek(file, 0, SEEK_END);
    const long length = ftell(file);
    fseek(file, 0, SEEK_SET);
    ReadChunks(file, length);
    fclose(file);

    if (!AllocScene(scene, Loader.objectCounter - 1, Loader.cameraCount, scene->textureCount)) {
        WriteDebugLog(" 3DS Error: No memory for scene!");
        ShowMessageBox(owner, "No memory for scene!", "3DS Loader", MB_OK | MB_ICONERROR);
        return false;
    }
    scene->startFrame = -1;
    scene->meshCount = Loader.objectCounter - 1;  // the last object (usually the camera) is not copied
    LogLine(" Objects: %d", scene->meshCount);
    CopyMeshes(scene);
    scene->cameraCount = Loader.cameraCount;
    scene->currentCamera = 0;
    LogLine(" Total cameras: %d", scene->cameraCount);
    for (int k = 0; k < scene->cameraCount; ++k)
        if (!BuildCamera(owner, scene, k)) return false;
    return !Loader.overflow;
}
