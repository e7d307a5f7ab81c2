// The 3DS writer.
#include "model.h"

#include <cstdio>
#include <cstring>

ModelMesh& AddMesh(Model& model, const std::string& name, Colour colour) {
    model.meshes.push_back(ModelMesh());
    ModelMesh& mesh = model.meshes.back();
    mesh.name = name;
    mesh.colour = colour;
    return mesh;
}

int FaceCount(const ModelMesh& mesh) { return (int)mesh.faces.size() / 3; }

// A growing byte buffer with nested chunks: BeginChunk writes a header whose length
// EndChunk fills in once the body is known.
struct ChunkBuffer {
    std::vector<unsigned char> bytes;
    std::vector<size_t> open;
};

static void PutU8(ChunkBuffer& b, unsigned v) { b.bytes.push_back((unsigned char)v); }
static void PutU16(ChunkBuffer& b, unsigned v) {
    PutU8(b, v & 255);
    PutU8(b, (v >> 8) & 255);
}
static void PutU32(ChunkBuffer& b, uint32_t v) {
    PutU16(b, v & 0xffff);
    PutU16(b, v >> 16);
}
static void PutFloat(ChunkBuffer& b, float f) {
    uint32_t v;
    memcpy(&v, &f, 4);
    PutU32(b, v);
}
static void PutName(ChunkBuffer& b, const std::string& name) {
    for (char c : name) PutU8(b, (unsigned char)c);
    PutU8(b, 0);
}

static void BeginChunk(ChunkBuffer& b, unsigned id) {
    b.open.push_back(b.bytes.size());
    PutU16(b, id);
    PutU32(b, 0);
}

static void EndChunk(ChunkBuffer& b) {
    size_t start = b.open.back();
    b.open.pop_back();
    uint32_t length = (uint32_t)(b.bytes.size() - start);
    for (int i = 0; i < 4; i++) b.bytes[start + 2 + i] = (unsigned char)(length >> (8 * i));
}

static void PutColourByte(ChunkBuffer& b, unsigned id, Colour c) {
    BeginChunk(b, id);
    BeginChunk(b, 0x0011);  // "RGB byte": a float colour would count as an object when read
    PutU8(b, (unsigned)(Clamp01(c.r) * 255 + 0.5f));
    PutU8(b, (unsigned)(Clamp01(c.g) * 255 + 0.5f));
    PutU8(b, (unsigned)(Clamp01(c.b) * 255 + 0.5f));
    EndChunk(b);
    EndChunk(b);
}

static void PutMaterial(ChunkBuffer& b, const ModelMesh& mesh) {
    BeginChunk(b, 0xAFFF);
    BeginChunk(b, 0xA000);
    PutName(b, mesh.name + "_mat");
    EndChunk(b);
    PutColourByte(b, 0xA010, ScaleColour(mesh.colour, 0.3f));
    PutColourByte(b, 0xA020, mesh.colour);
    PutColourByte(b, 0xA030, {0.9f, 0.9f, 0.9f});
    EndChunk(b);
}

static void PutTriMesh(ChunkBuffer& b, const ModelMesh& mesh) {
    BeginChunk(b, 0x4000);
    PutName(b, mesh.name);
    BeginChunk(b, 0x4100);
    BeginChunk(b, 0x4110);  // vertex list
    PutU16(b, (unsigned)mesh.vertices.size());
    for (const ModelVertex& v : mesh.vertices) {
        PutFloat(b, v.x);
        PutFloat(b, v.y);
        PutFloat(b, v.z);
    }
    EndChunk(b);
    BeginChunk(b, 0x4140);  // mapping list: must come before the face list
    PutU16(b, (unsigned)mesh.vertices.size());
    for (const ModelVertex& v : mesh.vertices) {
        PutFloat(b, v.u);
        PutFloat(b, v.v);
    }
    EndChunk(b);
    BeginChunk(b, 0x4160);  // local axes: identity, the vertices are in world space
    const float axes[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    for (float f : axes) PutFloat(b, f);
    EndChunk(b);
    int faceCount = FaceCount(mesh);
    BeginChunk(b, 0x4120);  // face list
    PutU16(b, (unsigned)faceCount);
    for (int f = 0; f < faceCount; f++) {
        for (int k = 0; k < 3; k++) PutU16(b, mesh.faces[f * 3 + k]);
        PutU16(b, 7);  // all three edges visible
    }
    BeginChunk(b, 0x4130);  // face material: every face
    PutName(b, mesh.name + "_mat");
    PutU16(b, (unsigned)faceCount);
    for (int f = 0; f < faceCount; f++) PutU16(b, (unsigned)f);
    EndChunk(b);
    EndChunk(b);
    EndChunk(b);
    EndChunk(b);
}

static void PutCamera(ChunkBuffer& b, const Model& model) {
    BeginChunk(b, 0x4000);
    PutName(b, "Camera01");
    BeginChunk(b, 0x4700);
    Point3 eye = model.eyeKeys.empty() ? Point3{0, -100, 0} : model.eyeKeys[0];
    Point3 target = model.targetKeys.empty() ? Point3{0, 0, 0} : model.targetKeys[0];
    PutFloat(b, eye.x);
    PutFloat(b, eye.y);
    PutFloat(b, eye.z);
    PutFloat(b, target.x);
    PutFloat(b, target.y);
    PutFloat(b, target.z);
    PutFloat(b, 0);   // roll
    PutFloat(b, 24);  // lens in millimetres
    EndChunk(b);
    EndChunk(b);
}

static void PutNode(ChunkBuffer& b, unsigned id, unsigned number, const char* name,
                    const std::vector<Point3>& keys) {
    BeginChunk(b, id);
    BeginChunk(b, 0xB030);  // object number: the camera's object index, its target the next
    PutU16(b, number);
    EndChunk(b);
    BeginChunk(b, 0xB010);
    PutName(b, name);
    PutU16(b, 0);
    PutU16(b, 0);
    PutU16(b, 0xffff);  // no parent
    EndChunk(b);
    BeginChunk(b, 0xB020);  // position keys
    PutU16(b, 0);
    PutU32(b, 0);
    PutU32(b, 0);
    PutU32(b, (uint32_t)keys.size());
    for (size_t i = 0; i < keys.size(); i++) {
        PutU32(b, (uint32_t)(i * 10));  // frame number
        PutU16(b, 0);                   // no tension, continuity or bias values
        PutFloat(b, keys[i].x);
        PutFloat(b, keys[i].y);
        PutFloat(b, keys[i].z);
    }
    EndChunk(b);
    EndChunk(b);
}

static bool CheckLimits(const Model& model) {
    for (const ModelMesh& mesh : model.meshes) {
        if (FaceCount(mesh) > kMaxModelFaces || mesh.vertices.size() > kMaxModelVertices ||
            mesh.faces.size() % 3 != 0) {
            fprintf(stderr, "mesh %s: %d faces, %zu vertices is beyond the show's limits\n",
                    mesh.name.c_str(), FaceCount(mesh), mesh.vertices.size());
            return false;
        }
    }
    return true;
}

bool WriteModel3DS(const std::string& path, const Model& model) {
    if (!CheckLimits(model)) return false;
    ChunkBuffer b;
    BeginChunk(b, 0x4D4D);
    BeginChunk(b, 0x0002);  // file version
    PutU32(b, 3);
    EndChunk(b);
    BeginChunk(b, 0x3D3D);
    for (const ModelMesh& mesh : model.meshes) PutMaterial(b, mesh);
    for (const ModelMesh& mesh : model.meshes) PutTriMesh(b, mesh);
    PutCamera(b, model);
    EndChunk(b);
    BeginChunk(b, 0xB000);
    BeginChunk(b, 0xB008);
    PutU32(b, 0);
    PutU32(b, (uint32_t)(model.eyeKeys.size() * 10));
    EndChunk(b);
    unsigned cameraObject = (unsigned)model.meshes.size();
    PutNode(b, 0xB003, cameraObject, "Camera01", model.eyeKeys);
    PutNode(b, 0xB004, cameraObject + 1, "Camera01.Target", model.targetKeys);
    EndChunk(b);
    EndChunk(b);
    if (!WriteBytes(path, b.bytes)) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
