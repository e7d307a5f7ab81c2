// The chunk reader on damaged and hostile files: it never reads or writes outside its tables,
// never seeks back or past a parent chunk, and always comes back.
#include "scene/chunk_reader.h"
#include "scene/scene_loader.h"

#include "scene_test_support.h"
#include "scene_writer.h"

#include <gtest/gtest.h>

class ChunkReaderTest : public ::testing::Test {
protected:
    void TearDown() override { UnloadScene(&scene); }
    LoadReport Load(const std::string& bytes) {
        UnloadScene(&scene);
        return LoadAndReport(SaveTestFile("case.3ds", bytes), &scene);
    }
    Scene scene = {};
};

// Main { Mesh data { meshes... } } with `middle` written between mesh `at` and the next one.
static std::string MeshesWith(int count, int at, const std::string& middle) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    for (int i = 0; i < count; ++i) {
        WriteMeshObject(w, MakeStripMesh("m" + std::to_string(i), i + 1, (float)i));
        if (i == at) w.Raw(middle);
    }
    w.End();
    w.End();
    return w.bytes;
}

static std::string MeshAndCamera(const TestMesh& mesh) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    WriteMeshObject(w, mesh);
    WriteCameraObject(w, "cam");
    w.End();
    w.End();
    return w.bytes;
}

TEST_F(ChunkReaderTest, TableHas46EntriesAndUnknownIdsAreNotFound) {
    EXPECT_EQ(sizeof ChunkTable / sizeof ChunkTable[0], 46u);
    EXPECT_STREQ(FindChunkType(0x4120)->name, "Face list");
    EXPECT_EQ(FindChunkType(0x4D4D)->handler, nullptr);
    EXPECT_EQ(FindChunkType(0x0002), nullptr);
}

TEST_F(ChunkReaderTest, UnknownTopLevelChunkIsSkippedWhole) {
    std::string bytes = MeshesWith(3, -1, "");
    bytes[0] = 0x34, bytes[1] = 0x12;
    LoadReport r = Load(bytes);
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.boxes, "msgbox: 3DS Loader: No memory for scene!\n");
}

TEST_F(ChunkReaderTest, BadLengthsEndTheirLevelOnly) {
    ChunkWriter zero, shortChunk, tooLong;
    zero.Header(0x4000, 0);
    shortChunk.Header(0x4000, 3);
    tooLong.Header(0x4000, 100000);
    for (const ChunkWriter* bad : {&zero, &shortChunk, &tooLong}) {
        // Four meshes with the bad chunk after the second: only the first two are read.
        LoadReport r = Load(MeshesWith(4, 1, bad->bytes + std::string(40, '\x01')));
        EXPECT_TRUE(r.loaded) << r.boxes;
        EXPECT_EQ(r.boxes, "");
        ASSERT_EQ(scene.meshCount, 1);
        EXPECT_EQ(scene.meshes[0].faceCount, 1);
    }
    // A level ending in fewer bytes than a header: the box, and the parent goes on.
    LoadReport r = Load(MeshesWith(2, 1, "abcd"));
    EXPECT_EQ(r.boxes, "msgbox: Debug: First read fail!\n");
    EXPECT_EQ(scene.meshCount, 1);
}

TEST_F(ChunkReaderTest, UnreadSubChunksAreSteppedOverByLength) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.Begin(0x4000);
    w.Name("odd");
    w.Begin(0x4100);
    w.Begin(0x4110);
    w.U16(3);
    for (int i = 0; i < 9; ++i) w.Float((float)i);
    w.End();
    w.Begin(0x4120);
    w.U16(1);
    for (uint16_t v : {0, 1, 2, 0}) w.U16(v);
    w.Begin(0x4ABC);  // unknown to the reader, with a body that looks like chunks
    w.Header(0x4000, 6);
    w.Raw(std::string(30, '\x7f'));
    w.End();
    w.End();
    w.End();
    w.End();
    WriteMeshObject(w, MakeStripMesh("next", 4, 1));
    WriteCameraObject(w, "cam");
    w.End();
    w.End();
    LoadReport r = Load(w.bytes);
    ASSERT_TRUE(r.loaded) << r.boxes;
    ASSERT_EQ(scene.meshCount, 2);
    EXPECT_EQ(scene.meshes[0].faceCount, 1);
    EXPECT_EQ(scene.meshes[0].faces[0].vertices[2].z, 8.0f);
    EXPECT_EQ(scene.meshes[1].faceCount, 4);
}

TEST_F(ChunkReaderTest, FacesNamingMissingVerticesAreDropped) {
    TestMesh mesh = MakeStripMesh("holes", 3, 1);  // 5 vertices
    mesh.faces.push_back({0, 1, 60000});
    mesh.faces.push_back({5, 1, 2});
    LoadReport r = Load(MeshAndCamera(mesh));
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(scene.meshes[0].faceCount, 3);
    EXPECT_TRUE(Contains(r.log, "  WARNING: 2 faces of object 0 use missing vertices and were dropped\n")) << r.log;
}

// `floats` "RGB float" chunks (each an object) and then `cameras` cameras, with keys for the
// first camera's nodes.
static std::string ColoursAndCameras(int floats, int cameras, int keys) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    for (int i = 0; i < floats; ++i) {
        w.Begin(0x0010);
        for (int c = 0; c < 3; ++c) w.Float(0.5f);
        w.End();
    }
    for (int i = 0; i < cameras; ++i) WriteCameraObject(w, "cam" + std::to_string(i));
    w.End();
    w.Begin(0xB000);
    WriteNode(w, 0xB003, (uint16_t)floats, "cam0", MakeKeys(keys, 1));
    WriteNode(w, 0xB004, (uint16_t)(floats + 1), "cam0", MakeKeys(keys, 2));
    WriteNode(w, 0xB003, 0xFFFF, "far", MakeKeys(keys, 3));
    w.End();
    w.End();
    return w.bytes;
}

TEST_F(ChunkReaderTest, CameraWhoseTargetTrackIsOutsideTheTableGetsNoTargetKeys) {
    LoadReport r = Load(ColoursAndCameras(149, 1, 4));
    ASSERT_TRUE(r.loaded) << r.boxes;
    EXPECT_TRUE(Contains(r.log, "Position at 149 Target at 150\n  Target keys: 0 Position keys: 4\n")) << r.log;
    EXPECT_EQ(scene.eyePath[0].count, 301);
    EXPECT_EQ(scene.targetPath[0].count, 0);
}

TEST_F(ChunkReaderTest, CamerasBeyondFiveAreSkipped) {
    LoadReport r = Load(ColoursAndCameras(2, 7, 4));
    ASSERT_TRUE(r.loaded) << r.boxes;
    EXPECT_EQ(scene.cameraCount, 5);
    EXPECT_EQ(scene.meshCount, 8);
    EXPECT_TRUE(Contains(r.log, "  WARNING: Camera at object 8 skipped, only 5 cameras fit\n")) << r.log;
    EXPECT_EQ(scene.eyeKeys[0].count, 4);
}

TEST_F(ChunkReaderTest, ObjectsBeyondTheTableFailTheLoadWithOneBox) {
    LoadReport r = Load(ColoursAndCameras(160, 1, 4));
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.boxes, "msgbox: 3ds Loader:  Internal overflow at object 152\\n Max objects = 152\n");
    EXPECT_EQ(scene.meshCount, 151);
}

TEST_F(ChunkReaderTest, TooManyVerticesFailTheLoadSilently) {
    TestMesh mesh = MakeStripMesh("huge", 2, 1);
    mesh.vertices.resize(50001, Vec3{1, 2, 3});
    mesh.uvs.resize(50001);
    LoadReport r = Load(MeshAndCamera(mesh));
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.boxes, "");
    EXPECT_EQ(scene.meshes[0].faceCount, 2);
}

TEST_F(ChunkReaderTest, LongAndUnterminatedNamesStayInTheirChunk) {
    ChunkWriter w;
    w.Begin(0x4D4D);
    w.Begin(0x3D3D);
    w.Begin(0x4000);
    w.Raw(std::string(20, 'x'));  // no terminator: the name ends with the chunk
    w.End();
    WriteMeshObject(w, MakeStripMesh(std::string(300, 'n'), 2, 1));
    WriteMeshObject(w, MakeStripMesh("last", 1, 1));
    w.End();
    w.End();
    LoadReport r = Load(w.bytes);
    ASSERT_TRUE(r.loaded) << r.boxes;
    ASSERT_EQ(scene.meshCount, 1);
    EXPECT_EQ(scene.meshes[0].faceCount, 2);
}

TEST_F(ChunkReaderTest, NamesAreCutAt254CharactersAndFullyConsumed) {
    FILE* file = tmpfile();
    const std::string name(300, 'n');
    fwrite(name.c_str(), 1, name.size() + 1, file);
    fputs("rest", file);
    rewind(file);
    Loader.position = 0;
    ReadName(file, 1000);
    EXPECT_EQ(std::string(Loader.name), name.substr(0, 254));
    EXPECT_EQ(Loader.position, 301);
    fclose(file);
}

TEST_F(ChunkReaderTest, DeepNestingIsCutOff) {
    ChunkWriter w;
    for (int i = 0; i < 5000; ++i) w.Begin(0x3D3D);
    WriteMeshObject(w, MakeStripMesh("deep", 1, 1));
    for (int i = 0; i < 5000; ++i) w.End();
    LoadReport r = Load(w.bytes);
    EXPECT_FALSE(r.loaded);  // nothing read that deep
}

// Every prefix and many single-byte damages of a good file: the loader always returns.
TEST_F(ChunkReaderTest, TruncatedAndDamagedFilesNeverEscape) {
    TestScene source;
    source.meshes = {MakeStripMesh("a", 3, 1), MakeStripMesh("b", 2, 2)};
    source.cameras = {{"cam", MakeKeys(5, 1), MakeKeys(5, 2)}};
    const std::string good = BuildScene(source);
    for (size_t cut = 0; cut < good.size(); cut += 3) Load(good.substr(0, cut));
    for (size_t at = 0; at < good.size(); at += 2) {
        std::string bad = good;
        bad[at] = (char)(bad[at] ^ 0xA5);
        Load(bad);
    }
    SUCCEED();
}
