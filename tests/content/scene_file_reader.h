// A small reader of the generated 3DS files for the content checks: it walks the chunks the
// way the show's loader does (objects numbered by face lists, cameras and "RGB float" chunks;
// keys stored per keyframer object number) and records what the rules are about.
#pragma once

#include <string>
#include <vector>

struct KeyPoint {
    float x, y, z;
};

struct ReadMesh {
    int vertexCount = 0;
    int mappingCount = -1;  // -1: no mapping list before the face list
    int faceCount = 0;
    int largestIndex = -1;
    std::vector<KeyPoint> vertices;
    std::vector<int> corners;  // three vertex indices per face
};

struct SceneFile {
    bool readable = false;
    int objectCount = 0;     // every object index the show's loader hands out
    int rgbFloatChunks = 0;  // each one would shift the object numbers
    std::vector<ReadMesh> meshes;
    std::vector<int> cameraObjects;  // object index of each camera
    std::vector<std::vector<KeyPoint>> tracks;  // position keys per keyframer object number
};

SceneFile ReadSceneFile(const std::string& path);

// The camera path the show flies: a uniform cubic B-spline through the keys, 300 steps per
// interval (301 points each), at the keys' own scale.
std::vector<KeyPoint> ExpandCameraPath(const std::vector<KeyPoint>& keys);
