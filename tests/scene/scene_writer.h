// A small 3DS writer for the tests: builds scene files chunk by chunk, and whole scenes of
// meshes, cameras and keyframer tracks laid out the way the show's loader expects them.
#pragma once

#include "scene/scene.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Raw chunk building: Begin/End pairs nest; End fills in the length.
struct ChunkWriter {
    std::string bytes;
    std::vector<size_t> open;
    void Begin(uint16_t id);
    void End();
    void U16(uint16_t value);
    void U32(uint32_t value);
    void Float(float value);
    void Name(const std::string& name);  // with its terminator
    void Raw(const std::string& data) { bytes += data; }
    // A chunk with a given header and no body check (for damaged files).
    void Header(uint16_t id, uint32_t length);
};

struct TestMesh {
    std::string name;
    std::vector<Vec3> vertices;
    std::vector<std::array<float, 2>> uvs;
    std::vector<std::array<uint16_t, 3>> faces;
};

struct TestCamera {
    std::string name;
    std::vector<Vec3> eyeKeys, targetKeys;
    uint16_t keyFlags = 0;  // spline flag word written with every key
};

struct TestScene {
    bool ambientFloat = false;  // an ambient colour as "RGB float" before the meshes
    std::vector<TestMesh> meshes;
    std::vector<TestCamera> cameras;  // objects after the meshes; keyframer nodes numbered by object
};

// A strip of `faceCount` triangles over faceCount + 2 distinct vertices with mapping.
TestMesh MakeStripMesh(const std::string& name, int faceCount, float seed);
// `count` keys on a gently rising curve, distinct per `seed`.
std::vector<Vec3> MakeKeys(int count, float seed);

void WriteMeshObject(ChunkWriter& w, const TestMesh& mesh);
void WriteCameraObject(ChunkWriter& w, const std::string& name);
void WritePositionKeys(ChunkWriter& w, const std::vector<Vec3>& keys, uint16_t flags = 0);
// A keyframer node (0xB003 camera, 0xB004 target...) with its number, header and position keys.
void WriteNode(ChunkWriter& w, uint16_t tag, uint16_t node, const std::string& name, const std::vector<Vec3>& keys,
               uint16_t keyFlags = 0);

std::string BuildScene(const TestScene& scene);
void WriteBytes(const std::string& path, const std::string& bytes);
