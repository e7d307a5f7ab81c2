// The in-memory scene: triangle meshes with mapping coordinates, and camera paths.
#pragma once

#include "gfx/texture.h"

#include <cstdint>

enum { kMaxFaces = 1500, kMaxTrackPoints = 10000 };

struct Vec3 {
    float x, y, z;
};

struct FaceVertex {
    float x, y, z;  // position in the file's units and axes
    float u, v;     // mapping coordinates
};

struct Face {
    uint8_t vertexCount;  // always 3
    FaceVertex vertices[3];
};

enum { kNoTexture = -1 };  // a Mesh drawn untextured (texture name 0)

struct Mesh {
    int faceCount;
    Face faces[kMaxFaces];
    int8_t texture;  // index into the owning Scene's textures; kNoTexture after loading
    uint8_t cullFace;
    uint8_t additive;
    uint8_t faded;
    float alpha;
    uint8_t visible;
    uint8_t envMap;
};

struct CameraTrack {
    int count;
    Vec3 points[kMaxTrackPoints];
};

struct Scene {
    int startFrame;  // latched by the first DrawScene after loading; -1 until then
    int meshCount;
    Mesh* meshes;
    int cameraCount;
    int currentCamera;
    CameraTrack* targetKeys;
    CameraTrack* eyeKeys;
    CameraTrack* targetPath;  // points at twice the scene's scale
    CameraTrack* eyePath;
    int8_t textureCount;
    Texture* textures;
    int texturesAllocated;  // records in `textures`: what UnloadScene frees, whatever the count says now
};

bool AllocScene(Scene* scene, int meshCount, int cameraCount, int textureCount);
void UnloadScene(Scene* scene);
