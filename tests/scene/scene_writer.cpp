#include "scene_writer.h"

#include <cstring>
#include <fstream>

void ChunkWriter::Begin(uint16_t id) {
    open.push_back(bytes.size());
    U16(id);
    U32(0);
}

void ChunkWriter::End() {
    const size_t start = open.back();
    open.pop_back();
    const uint32_t length = (uint32_t)(bytes.size() - start);
    memcpy(&bytes[start + 2], &length, 4);
}

void ChunkWriter::U16(uint16_t value) { bytes.append((const char*)&value, 2); }
void ChunkWriter::U32(uint32_t value) { bytes.append((const char*)&value, 4); }
void ChunkWriter::Float(float value) { bytes.append((const char*)&value, 4); }
void ChunkWriter::Name(const std::string& name) { bytes.append(name.c_str(), name.size() + 1); }

void ChunkWriter::Header(uint16_t id, uint32_t length) {
    U16(id);
    U32(length);
}

TestMesh MakeStripMesh(const std::string& name, int faceCount, float seed) {
    TestMesh mesh{name, {}, {}, {}};
    for (int i = 0; i < faceCount + 2; ++i) {
        mesh.vertices.push_back({(float)i, (i % 2) + seed, seed * 2 - i * 0.25f});
        mesh.uvs.push_back({i * 0.001f, seed + (i % 2)});
    }
    for (int i = 0; i < faceCount; ++i) mesh.faces.push_back({(uint16_t)i, (uint16_t)(i + 1), (uint16_t)(i + 2)});
    return mesh;
}

std::vector<Vec3> MakeKeys(int count, float seed) {
    std::vector<Vec3> keys;
    for (int i = 0; i < count; ++i) keys.push_back({i * 10.0f + seed, i * i * 0.5f, seed - i});
    return keys;
}

void WriteMeshObject(ChunkWriter& w, const TestMesh& mesh) {
    w.Begin(0x4000);
    w.Name(mesh.name);
    w.Begin(0x4100);
    w.Begin(0x4110);
    w.U16((uint16_t)mesh.vertices.size());
    for (const Vec3& v : mesh.vertices) {
        w.Float(v.x);
        w.Float(v.y);
        w.Float(v.z);
    }
    w.End();
    w.Begin(0x4140);  // mapping before faces, as the loader needs
    w.U16((uint16_t)mesh.uvs.size());
    for (const auto& uv : mesh.uvs) {
        w.Float(uv[0]);
        w.Float(uv[1]);
    }
    w.End();
    w.Begin(0x4120);
    w.U16((uint16_t)mesh.faces.size());
    for (const auto& f : mesh.faces) {
        w.U16(f[0]);
        w.U16(f[1]);
        w.U16(f[2]);
        w.U16(7);
    }
    w.Begin(0x4150);  // smoothing groups, one per face
    for (size_t i = 0; i < mesh.faces.size(); ++i) w.U32(1);
    w.End();
    w.End();
    w.End();
    w.End();
}

void WriteCameraObject(ChunkWriter& w, const std::string& name) {
    w.Begin(0x4000);
    w.Name(name);
    w.Begin(0x4700);
    for (float value : {0.0f, -100.0f, 20.0f, 0.0f, 0.0f, 0.0f, 0.0f, 35.0f}) w.Float(value);
    w.End();
    w.End();
}

void WritePositionKeys(ChunkWriter& w, const std::vector<Vec3>& keys, uint16_t flags) {
    w.Begin(0xB020);
    w.U16(0);  // track flags
    w.U32(0);
    w.U32(0);
    w.U32((uint32_t)keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        w.U32((uint32_t)(i * 10));  // frame numbers, unused by the loader
        w.U16(flags);
        w.Float(keys[i].x);
        w.Float(keys[i].y);
        w.Float(keys[i].z);
    }
    w.End();
}

void WriteNode(ChunkWriter& w, uint16_t tag, uint16_t node, const std::string& name, const std::vector<Vec3>& keys,
               uint16_t keyFlags) {
    w.Begin(tag);
    w.Begin(0xB030);
    w.U16(node);
    w.End();
    w.Begin(0xB010);
    w.Name(name);
    w.U16(0);
    w.U16(0);
    w.U16(0xFFFF);  // no parent
    w.End();
    WritePositionKeys(w, keys, keyFlags);
    w.End();
}

std::string BuildScene(const TestScene& scene) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x0002);  // file version, unknown to the loader
    w.U32(3);
    w.End();
    w.Begin(0x3D3D);
    if (scene.ambientFloat) {
        w.Begin(0x2100);
        w.Begin(0x0010);
        for (float value : {0.1f, 0.2f, 0.3f}) w.Float(value);
        w.End();
        w.End();
    }
    for (const TestMesh& mesh : scene.meshes) WriteMeshObject(w, mesh);
    for (const TestCamera& camera : scene.cameras) WriteCameraObject(w, camera.name);
    w.End();
    if (!scene.cameras.empty()) {
        w.Begin(0xB000);
        w.Begin(0xB008);
        w.U32(0);
        w.U32(100);
        w.End();
        uint16_t node = (uint16_t)((scene.ambientFloat ? 1 : 0) + scene.meshes.size());
        for (const TestCamera& camera : scene.cameras) {
            WriteNode(w, 0xB003, node, camera.name, camera.eyeKeys, camera.keyFlags);
            WriteNode(w, 0xB004, (uint16_t)(node + 1), camera.name, camera.targetKeys, camera.keyFlags);
            ++node;
        }
        w.End();
    }
    w.End();
    return w.bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}
