// The 3DS chunk reader: walks a scene file and collects triangle objects, keyframer position
// keys and cameras into the loader's fixed tables. Table driven: ChunkTable names every chunk id
// the show knows; a known chunk without a handler is a container of further chunks.
#pragma once

#include "platform/msgbox.h"
#include "scene/scene.h"

#include <cstdint>
#include <cstdio>

enum {
    kMaxObjects = 152,
    kMaxVertices = 50000,
    kMaxKeyTracks = 150,
    kMaxCameras = 5,
    kNameBufferSize = 255,  // names keep at most 254 characters
    kMaxChunkDepth = 32,    // containers nested deeper are skipped whole
    kChunkTableSize = 46,
};

// Every handler is entered just past the chunk header and never reads beyond chunkEnd.
typedef void (*ChunkHandler)(FILE* file, long chunkEnd);

struct ChunkType {
    uint32_t id;
    const char* name;  // descriptive only
    ChunkHandler handler;  // null: a container
};

extern const ChunkType ChunkTable[kChunkTableSize];

struct LoaderVertex {
    float x, y, z, u, v;
};

struct FaceIndices {
    int a, b, c;
};

// The geometry part of a Mesh.
struct ObjectSlot {
    int faceCount;
    Face faces[kMaxFaces];
};

typedef CameraTrack KeyTrack;

struct LoaderState {
    int objectCounter;  // next object slot; advanced per mesh, camera and "RGB float" chunk
    int vertexCount;    // vertices stored for the current object
    int faceCount;      // faces announced by the current face list
    int lightCounter;
    int cameraCount;
    int currentNode;    // keyframer object number of the node being read
    bool overflow;      // a capacity was exceeded: the load fails
    bool objectOverflowShown;
    WindowHandle owner;  // parent of the reader's boxes
    LoaderVertex vertices[kMaxVertices];
    FaceIndices faceIndices[kMaxFaces];
    ObjectSlot objects[kMaxObjects];
    KeyTrack keyTracks[kMaxKeyTracks];
    int cameraObjects[kMaxCameras];  // object number of each camera, in file order
    char name[kNameBufferSize];
    int depth;      // containers open right now
    long position;  // stream position, kept by the reader itself
};

extern LoaderState Loader;

// Reset at the start of every load. The vertex table keeps its contents; object slots and key
// tracks are emptied so that nothing of an earlier file is taken over.
void ResetLoaderState(WindowHandle owner);

// Looks `id` up in ChunkTable; null when unknown.
const ChunkType* FindChunkType(uint16_t id);

// Reads chunks from the current position while the position is below `end`.
void ReadChunks(FILE* file, long end);

// Consumes a zero-terminated name into Loader.name, cut at 254 characters; a name without a
// terminator ends at chunkEnd.
void ReadName(FILE* file, long chunkEnd);

// Copies the current face list into the object table and advances the object counter.
void StoreObject();
