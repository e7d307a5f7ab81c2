#include "scene/chunk_reader.h"

#include "host/debug_log.h"

#include <cstring>

LoaderState Loader;

// ---- Bounded reads: nothing is read past the end of the chunk being handled ----

static bool ReadBytes(FILE* file, void* out, long size, long limit) {
    if (size > limit - Loader.position) return false;
    size_t got = fread(out, 1, (size_t)size, file);
    Loader.position += (long)got;
    return got == (size_t)size;
}

// The file is little-endian, like every machine the show runs on.
static bool ReadU16(FILE* file, uint16_t* out, long limit) { return ReadBytes(file, out, 2, limit); }
static bool ReadFloats(FILE* file, float* out, int count, long limit) {
    return ReadBytes(file, out, 4L * count, limit);
}

static void SeekTo(FILE* file, long position) {
    if (position == Loader.position) return;
    fseek(file, position, SEEK_SET);
    Loader.position = position;
}

// ---- Loader state ----

void ResetLoaderState(WindowHandle owner) {
    Loader.owner = owner;
    Loader.faceCount = 0;
    Loader.vertexCount = 0;
    Loader.objectCounter = 0;
    Loader.cameraCount = 0;
    Loader.lightCounter = -1;
    Loader.currentNode = -1;
    Loader.overflow = false;
    Loader.objectOverflowShown = false;
    Loader.depth = 0;
    for (ObjectSlot& slot : Loader.objects) slot.faceCount = 0;
    for (KeyTrack& track : Loader.keyTracks) track.count = 0;
}

// True (and the load marked failed, with one box per load) when no object slot is left.
static bool ObjectTableFull() {
    if (Loader.objectCounter < kMaxObjects) return false;
    Loader.overflow = true;
    if (!Loader.objectOverflowShown) {
        char text[128];
        snprintf(text, sizeof text, " Internal overflow at object %d\n Max objects = %ld", Loader.objectCounter,
                 (long)kMaxObjects);
        ShowMessageBox(Loader.owner, text, "3ds Loader", MB_OK | MB_ICONEXCLAMATION);
        Loader.objectOverflowShown = true;
    }
    return true;
}

void ReadName(FILE* file, long chunkEnd) {
    memset(Loader.name, 0, sizeof Loader.name);
    int length = 0;
    char c;
    while (ReadBytes(file, &c, 1, chunkEnd) && c != 0)
        if (length < kNameBufferSize - 1) Loader.name[length++] = c;
}

static bool IndexInObject(int index) { return index < Loader.vertexCount; }

static void CopyCorner(FaceVertex* corner, int index) {
    const LoaderVertex& v = Loader.vertices[index];
    *corner = {v.x, v.y, v.z, v.u, v.v};
}

void StoreObject() {
    if (ObjectTableFull()) return;
    ObjectSlot* slot = &Loader.objects[Loader.objectCounter];
    int kept = 0;
    const int count = Loader.faceCount < kMaxFaces ? Loader.faceCount : kMaxFaces;
    for (int i = 0; i < count; ++i) {
        const FaceIndices& f = Loader.faceIndices[i];
        // A face naming a vertex the object does not have is dropped.
        if (!IndexInObject(f.a) || !IndexInObject(f.b) || !IndexInObject(f.c)) continue;
        Face* face = &slot->faces[kept++];
        face->vertexCount = 3;
        CopyCorner(&face->vertices[0], f.a);
        CopyCorner(&face->vertices[1], f.b);
        CopyCorner(&face->vertices[2], f.c);
    }
    slot->faceCount = kept;
    if (kept < count) {
        snprintf(LogLineBuffer, sizeof LogLineBuffer,
                 "  WARNING: %d faces of object %d use missing vertices and were dropped", count - kept,
                 Loader.objectCounter);
        WriteDebugLog(LogLineBuffer);
    }
    ++Loader.objectCounter;
}

// ---- Handlers ----

static void SkipChunk(FILE*, long) {}  // consumed by the seek to the chunk's end

static void ReadObjectBlock(FILE* file, long chunkEnd) {
    ReadName(file, chunkEnd);  // the object name is not kept
    ReadChunks(file, chunkEnd);
}

static void ReadVertexList(FILE* file, long chunkEnd) {
    Loader.vertexCount = 0;
    uint16_t count;
    if (!ReadU16(file, &count, chunkEnd)) return;
    for (int i = 0; i < count; ++i) {
        float p[3];
        if (!ReadFloats(file, p, 3, chunkEnd)) return;
        if (Loader.vertexCount >= kMaxVertices) {
            Loader.overflow = true;  // consumed, not stored
            continue;
        }
        LoaderVertex& v = Loader.vertices[Loader.vertexCount++];
        v.x = p[0];
        v.y = p[1];
        v.z = p[2];
    }
}

static void ReadMappingList(FILE* file, long chunkEnd) {
    uint16_t count;
    if (!ReadU16(file, &count, chunkEnd)) return;
    for (int i = 0; i < count; ++i) {
        float uv[2];
        if (!ReadFloats(file, uv, 2, chunkEnd)) return;
        if (i >= kMaxVertices) continue;
        Loader.vertices[i].u = uv[0];
        Loader.vertices[i].v = uv[1];
    }
}

static void ReadFaceList(FILE* file, long chunkEnd) {
    uint16_t count;
    if (!ReadU16(file, &count, chunkEnd)) return;
    Loader.faceCount = count;
    for (int i = 0; i < count; ++i) {
        uint16_t record[4];  // a, b, c and a flag word
        if (!ReadBytes(file, record, sizeof record, chunkEnd)) return;
        if (i >= kMaxFaces) {
            Loader.overflow = true;
            char text[128];
            snprintf(text, sizeof text, " Internal overflow at object %d\n Max faces = %ld", Loader.objectCounter,
                     (long)kMaxFaces);
            ShowMessageBox(Loader.owner, text, "3ds Loader", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        Loader.faceIndices[i] = {record[0], record[1], record[2]};
    }
    StoreObject();
    ReadChunks(file, chunkEnd);  // face materials and smoothing groups
}

static void ReadFaceMaterial(FILE* file, long chunkEnd) {
    ReadName(file, chunkEnd);
    uint16_t count, face;
    if (!ReadU16(file, &count, chunkEnd)) return;
    for (int i = 0; i < count; ++i)
        if (!ReadU16(file, &face, chunkEnd)) return;
}

// Every float colour counts as an object, wherever it stands: light colours and also
// background, ambient or material colours.
static void ReadRgbFloat(FILE* file, long chunkEnd) {
    float rgb[3];
    if (!ReadFloats(file, rgb, 3, chunkEnd)) return;
    ++Loader.lightCounter;
    if (!ObjectTableFull()) ++Loader.objectCounter;
}

static void ReadRgbByte(FILE* file, long chunkEnd) {
    uint8_t rgb[3];
    ReadBytes(file, rgb, 3, chunkEnd);
}

static void LightReader(FILE* file, long chunkEnd) {
    float position[3];
    if (!ReadFloats(file, position, 3, chunkEnd)) return;
    ReadChunks(file, chunkEnd);  // the colour arrives as an "RGB float"
}

static void ReadSpotlight(FILE* file, long chunkEnd) {
    uint8_t spot[20];
    ReadBytes(file, spot, sizeof spot, chunkEnd);
}

// Position, target, roll and lens are dropped: the camera moves along its keyframer tracks.
static void CameraReader(FILE* file, long chunkEnd) {
    float values[8];
    if (!ReadFloats(file, values, 8, chunkEnd) || ObjectTableFull()) return;
    if (Loader.cameraCount < kMaxCameras) {
        Loader.cameraObjects[Loader.cameraCount++] = Loader.objectCounter;
    } else {
        snprintf(LogLineBuffer, sizeof LogLineBuffer, "  WARNING: Camera at object %d skipped, only %d cameras fit",
                 Loader.objectCounter, (int)kMaxCameras);
        WriteDebugLog(LogLineBuffer);
    }
    ++Loader.objectCounter;
}

static void ReadMaterialName(FILE* file, long chunkEnd) { ReadName(file, chunkEnd); }
static void ReadMapFilename(FILE* file, long chunkEnd) { ReadName(file, chunkEnd); }

static void FramesReader(FILE* file, long chunkEnd) {
    uint8_t frames[8];
    ReadBytes(file, frames, sizeof frames, chunkEnd);
}

static void ObjectNumberReader(FILE* file, long chunkEnd) {
    uint16_t node;
    if (ReadU16(file, &node, chunkEnd)) Loader.currentNode = node;
}

// Frame numbers and spline flags are dropped: keys become evenly spaced control points. The
// track's count is the number of keys actually stored.
static void ReadPositionKeys(FILE* file, long chunkEnd) {
    uint8_t header[10];
    uint16_t count[2];  // low and high half
    if (!ReadBytes(file, header, sizeof header, chunkEnd) || !ReadBytes(file, count, sizeof count, chunkEnd))
        return;
    const bool stored = Loader.currentNode >= 0 && Loader.currentNode < kMaxKeyTracks;
    KeyTrack* track = stored ? &Loader.keyTracks[Loader.currentNode] : nullptr;
    if (track) track->count = 0;
    for (int i = 0; i < count[0]; ++i) {
        uint16_t frameAndFlags[3];
        float p[3];
        if (!ReadBytes(file, frameAndFlags, sizeof frameAndFlags, chunkEnd) || !ReadFloats(file, p, 3, chunkEnd))
            return;
        if (!track || i >= kMaxTrackPoints) continue;
        track->points[i] = {p[0], p[1], p[2]};
        track->count = i + 1;
    }
}

const ChunkType ChunkTable[kChunkTableSize] = {
    {0x0010, "RGB float", ReadRgbFloat},
    {0x0011, "RGB byte", ReadRgbByte},
    {0xC23D, "Project", nullptr},
    {0x3DAA, "Material Library", nullptr},
    {0x4D4D, "Main", nullptr},
    {0x3D3D, "Object Mesh", nullptr},
    {0x1200, "Background color", nullptr},
    {0x2100, "Ambient color", nullptr},
    {0x4000, "Object Block", ReadObjectBlock},
    {0x4100, "Tri-Mesh", nullptr},
    {0x4110, "Vertex list", ReadVertexList},
    {0x4120, "Face list", ReadFaceList},
    {0x4130, "Face material", ReadFaceMaterial},
    {0x4140, "Mappings list", ReadMappingList},
    {0x4150, "Smoothings", SkipChunk},
    {0x4160, "Matrix", SkipChunk},
    {0x4600, "Light", LightReader},
    {0x4610, "Spotlight", ReadSpotlight},
    {0x4700, "Camera", CameraReader},
    {0x4F00, "Hierarchy", nullptr},
    {0x7001, "Viewport info", nullptr},
    {0xAFFF, "Material", nullptr},
    {0xA000, "Material name", ReadMaterialName},
    {0xA010, "Ambient color", nullptr},
    {0xA020, "Diffuse color", nullptr},
    {0xA030, "Specular color", nullptr},
    {0xA200, "Texture map", nullptr},
    {0xA230, "Bump map", nullptr},
    {0xA300, "Map filename", ReadMapFilename},
    {0xB000, "Keyframer data", nullptr},
    {0xB001, "Ambient key", nullptr},
    {0xB002, "Track info", nullptr},
    {0xB008, "Frames", FramesReader},
    {0xB010, "Track Obj. Name", SkipChunk},
    {0xB013, "Pivot point", SkipChunk},
    {0xB020, "Position keys", ReadPositionKeys},
    {0xB021, "Rotation keys", SkipChunk},
    {0xB022, "Scale keys", SkipChunk},
    {0xB030, "Object number", ObjectNumberReader},
    {0xB003, "Camera track", nullptr},
    {0xB004, "Camera target track", nullptr},
    {0xB005, "Pointlight track", nullptr},
    {0xB006, "Pointlight target track", nullptr},
    {0xB007, "Spotlight track", nullptr},
    {0xB023, "FOV track", nullptr},
    {0xB024, "Roll track", nullptr},
};

const ChunkType* FindChunkType(uint16_t id) {
    for (const ChunkType& type : ChunkTable)
        if (type.id == id) return &type;
    return nullptr;
}

// ---- The walk ----

void ReadChunks(FILE* file, long end) {
    if (Loader.depth == 0) Loader.position = ftell(file);
    while (Loader.position < end) {
        const long start = Loader.position;
        uint8_t header[6];
        if (!ReadBytes(file, header, sizeof header, end)) {
            ShowMessageBox(Loader.owner, "First read fail!", "Debug", MB_OK);
            return;
        }
        uint16_t id;
        uint32_t length;
        memcpy(&id, header, 2);
        memcpy(&length, header + 2, 4);
        // A zero, too short or too long length ends this level: never back, never past the parent.
        if (length < sizeof header || (long)length > end - start) return;
        const long chunkEnd = start + (long)length;
        const ChunkType* type = FindChunkType(id);
        if (type && Loader.depth < kMaxChunkDepth) {
            ++Loader.depth;
            if (type->handler) type->handler(file, chunkEnd);
            else ReadChunks(file, chunkEnd);
            --Loader.depth;
        }
        SeekTo(file, chunkEnd);
        if (ferror(file)) {
            ShowMessageBox(Loader.owner, "File error", "Debug", MB_OK);
            return;
        }
    }
}
