// Cross-check with lib3ds: an independent reader agrees with LoadScene on the meshes, faces and
// camera keys of the files the test writer makes.
#include "scene/chunk_reader.h"
#include "scene/scene_loader.h"
#include "scene_test_support.h"
#include "scene_writer.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

static std::vector<Vec3> PeerKeys(const Lib3dsLin3Track& track) {
    std::vector<Vec3> keys;
    for (const Lib3dsLin3Key* key = track.keyL; key; key = key->next)
        keys.push_back({key->value[0], key->value[1], key->value[2]});
    return keys;
}

static void ExpectSameKeys(const CameraTrack& ours, const std::vector<Vec3>& peer) {
    ASSERT_EQ(ours.count, (int)peer.size());
    for (int i = 0; i < ours.count; ++i) {
        EXPECT_EQ(ours.points[i].x, peer[i].x);
        EXPECT_EQ(ours.points[i].y, peer[i].y);
        EXPECT_EQ(ours.points[i].z, peer[i].z);
    }
}

// Same faces with the same corners; mapping compared only where the peer has a mapping list.
static bool MeshMatches(const Mesh& ours, const Lib3dsMesh* peer) {
    if (ours.faceCount != (int)peer->faces) return false;
    const bool mapped = peer->texels == peer->points;
    for (int f = 0; f < ours.faceCount; ++f)
        for (int c = 0; c < 3; ++c) {
            const FaceVertex& v = ours.faces[f].vertices[c];
            const int index = peer->faceL[f].points[c];
            const float* p = peer->pointL[index].pos;
            if (v.x != p[0] || v.y != p[1] || v.z != p[2]) return false;
            if (mapped && (v.u != peer->texelL[index][0] || v.v != peer->texelL[index][1])) return false;
        }
    return true;
}

static void CrossCheck(const TestScene& source, const std::string& name) {
    const std::string path = SaveTestFile(name, BuildScene(source));
    Scene scene = {};
    LoadReport r = LoadAndReport(path, &scene);
    ASSERT_TRUE(r.loaded) << r.boxes;
    Lib3dsFile* peer = lib3ds_file_load(path.c_str());
    ASSERT_NE(peer, nullptr);
    const int first = source.ambientFloat ? 1 : 0;
    int peerMeshes = 0;
    for (Lib3dsMesh* mesh = peer->meshes; mesh; mesh = mesh->next) ++peerMeshes;
    EXPECT_EQ(peerMeshes, (int)source.meshes.size());
    for (size_t m = 0; m < source.meshes.size() && first + (int)m < scene.meshCount; ++m) {
        Lib3dsMesh* mesh = lib3ds_file_mesh_by_name(peer, source.meshes[m].name.c_str());
        ASSERT_NE(mesh, nullptr);
        EXPECT_TRUE(MeshMatches(scene.meshes[first + m], mesh)) << source.meshes[m].name;
    }
    ASSERT_EQ(scene.cameraCount, (int)source.cameras.size());
    for (int k = 0; k < scene.cameraCount; ++k) {
        const char* camera = source.cameras[k].name.c_str();
        Lib3dsNode* eye = lib3ds_file_node_by_name(peer, camera, LIB3DS_CAMERA_NODE);
        Lib3dsNode* target = lib3ds_file_node_by_name(peer, camera, LIB3DS_TARGET_NODE);
        ASSERT_TRUE(eye && target);
        ExpectSameKeys(scene.eyeKeys[k], PeerKeys(eye->data.camera.pos_track));
        ExpectSameKeys(scene.targetKeys[k], PeerKeys(target->data.target.pos_track));
    }
    lib3ds_file_free(peer);
    UnloadScene(&scene);
}

TEST(PeerReader, AgreesOnMeshesFacesAndCameraKeys) {
    TestScene source;
    source.meshes = {MakeStripMesh("box", 12, 1), MakeStripMesh("wall", 1500, 2), MakeStripMesh("floor", 3, 3)};
    source.cameras = {{"cam", MakeKeys(10, 1), MakeKeys(12, 2)}};
    CrossCheck(source, "three.3ds");

    source.ambientFloat = true;
    source.cameras[0].eyeKeys = MakeKeys(36, 5);
    source.cameras[0].targetKeys = MakeKeys(4, 6);
    CrossCheck(source, "ambient.3ds");
}

// The show's own scenes, made by the content build's writer: every mesh the peer finds is one of
// ours, and the camera keys agree.
TEST(PeerReader, AgreesOnTheContentBuildsScenes) {
    const std::filesystem::path entries = std::string(KAMORA_BUILD_DIR) + "/content/entries";
    std::vector<std::string> files;
    if (std::filesystem::is_directory(entries))
        for (const auto& entry : std::filesystem::directory_iterator(entries)) {
            std::string extension = entry.path().extension().string();
            if (extension == ".3ds" || extension == ".3DS") files.push_back(entry.path().string());
        }
    if (files.empty()) GTEST_SKIP() << "no content build";
    for (const std::string& path : files) {
        Scene scene = {};
        LoadReport r = LoadAndReport(path, &scene);
        ASSERT_TRUE(r.loaded) << path << r.boxes;
        Lib3dsFile* peer = lib3ds_file_load(path.c_str());
        ASSERT_NE(peer, nullptr) << path;
        for (Lib3dsMesh* mesh = peer->meshes; mesh; mesh = mesh->next)
            EXPECT_TRUE(std::any_of(scene.meshes, scene.meshes + scene.meshCount,
                                    [&](const Mesh& ours) { return MeshMatches(ours, mesh); }))
                << path << " mesh " << mesh->name;
        // The show pairs a camera's eye with node number e and its target with e + 1.
        for (int k = 0; k < scene.cameraCount; ++k) {
            Lib3dsNode* eye = lib3ds_file_node_by_id(peer, (Lib3dsWord)Loader.cameraObjects[k]);
            Lib3dsNode* target = lib3ds_file_node_by_id(peer, (Lib3dsWord)(Loader.cameraObjects[k] + 1));
            ASSERT_TRUE(eye && eye->type == LIB3DS_CAMERA_NODE) << path;
            ASSERT_TRUE(target && target->type == LIB3DS_TARGET_NODE) << path;
            ExpectSameKeys(scene.eyeKeys[k], PeerKeys(eye->data.camera.pos_track));
            ExpectSameKeys(scene.targetKeys[k], PeerKeys(target->data.target.pos_track));
        }
        lib3ds_file_free(peer);
        UnloadScene(&scene);
    }
}
