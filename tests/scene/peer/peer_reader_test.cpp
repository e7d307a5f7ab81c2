// Cross-check with lib3ds: an independent reader agrees with LoadScene on the meshes, faces and
// camera keys of the files the test writer makes.
#include "scene/scene_loader.h"
#include "scene_test_support.h"
#include "scene_writer.h"

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

static void ExpectSameMesh(const Mesh& ours, const Lib3dsMesh* peer) {
    ASSERT_EQ(ours.faceCount, (int)peer->faces);
    ASSERT_EQ(peer->texels, peer->points);
    for (int f = 0; f < ours.faceCount; ++f)
        for (int c = 0; c < 3; ++c) {
            const FaceVertex& v = ours.faces[f].vertices[c];
            const int index = peer->faceL[f].points[c];
            EXPECT_EQ(v.x, peer->pointL[index].pos[0]);
            EXPECT_EQ(v.y, peer->pointL[index].pos[1]);
            EXPECT_EQ(v.z, peer->pointL[index].pos[2]);
            EXPECT_EQ(v.u, peer->texelL[index][0]);
            EXPECT_EQ(v.v, peer->texelL[index][1]);
        }
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
        ExpectSameMesh(scene.meshes[first + m], mesh);
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
