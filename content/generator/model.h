// Scene models as the generator builds them, and the 3DS writer: meshes with mapping
// coordinates, one colour material per mesh, and one camera animated by position keys.
#pragma once

#include "picture.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct Point3 {
    float x, y, z;
};

struct ModelVertex {
    float x, y, z, u, v;
};

struct ModelMesh {
    std::string name;
    Colour colour = {0.8f, 0.8f, 0.8f};  // written as the mesh's material, as "RGB byte"
    std::vector<ModelVertex> vertices;
    std::vector<uint16_t> faces;  // three vertex indices per triangle
};

struct Model {
    std::deque<ModelMesh> meshes;  // a deque: a mesh stays put while later ones are added
    std::vector<Point3> eyeKeys;     // the camera's position keys
    std::vector<Point3> targetKeys;  // its target's position keys
};

enum { kMaxModelFaces = 1500, kMaxModelVertices = 50000 };

ModelMesh& AddMesh(Model& model, const std::string& name, Colour colour);
int FaceCount(const ModelMesh& mesh);

// Writes the model as a 3DS file: every mesh (mapping list before its face list), then the
// camera as the last object; the keyframer gives the camera node the camera's object number
// and its target node the next one. Returns false (with a message on stderr) when a mesh
// breaks the show's limits or the file cannot be written.
bool WriteModel3DS(const std::string& path, const Model& model);
