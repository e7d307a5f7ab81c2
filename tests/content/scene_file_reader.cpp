// A small reader of the generated 3DS files for the content checks.
#include "scene_file_reader.h"

#include <cstdint>
#include <cstring>

#include "run_command.h"

namespace {

struct Cursor {
    const std::string* data;
    size_t at;
    bool ok;
};

uint32_t Take(Cursor& c, int bytes) {
    if (c.at + bytes > c.data->size()) {
        c.ok = false;
        return 0;
    }
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++) v |= (uint32_t)(unsigned char)(*c.data)[c.at + i] << (8 * i);
    c.at += bytes;
    return v;
}

float TakeFloat(Cursor& c) {
    uint32_t bits = Take(c, 4);
    float f;
    memcpy(&f, &bits, 4);
    return f;
}

void SkipName(Cursor& c) {
    while (c.ok && Take(c, 1) != 0) {}
}

struct Walk {
    SceneFile scene;
    ReadMesh current;
    int node = -1;
};

void ReadChunks(Walk& w, Cursor& c, size_t end);

void ReadBody(Walk& w, Cursor& c, unsigned id, size_t end) {
    switch (id) {
    case 0x4D4D: case 0x3D3D: case 0x4100: case 0xAFFF: case 0xA010: case 0xA020: case 0xA030:
    case 0xB000: case 0xB003: case 0xB004: case 0xB002:
        ReadChunks(w, c, end);
        break;
    case 0x4000:
        SkipName(c);
        ReadChunks(w, c, end);
        break;
    case 0x0010:
        w.scene.rgbFloatChunks++;
        w.scene.objectCount++;
        break;
    case 0x4110: {
        w.current = ReadMesh();
        w.current.vertexCount = (int)Take(c, 2);
        for (int i = 0; i < w.current.vertexCount && c.ok; i++) {
            KeyPoint p = {TakeFloat(c), TakeFloat(c), TakeFloat(c)};
            w.current.vertices.push_back(p);
        }
        break;
    }
    case 0x4140:
        w.current.mappingCount = (int)Take(c, 2);
        break;
    case 0x4120: {
        w.current.faceCount = (int)Take(c, 2);
        for (int f = 0; f < w.current.faceCount && c.ok; f++) {
            for (int k = 0; k < 3; k++) {
                int index = (int)Take(c, 2);
                if (index > w.current.largestIndex) w.current.largestIndex = index;
                w.current.corners.push_back(index);
            }
            Take(c, 2);
        }
        w.scene.meshes.push_back(w.current);
        w.scene.objectCount++;
        break;
    }
    case 0x4700:
        w.scene.cameraObjects.push_back(w.scene.objectCount);
        w.scene.objectCount++;
        break;
    case 0xB030:
        w.node = (int)Take(c, 2);
        break;
    case 0xB020: {
        c.at += 10;
        int count = (int)Take(c, 2);
        Take(c, 2);
        std::vector<KeyPoint> keys;
        for (int k = 0; k < count && c.ok; k++) {
            Take(c, 4);
            Take(c, 2);
            KeyPoint p = {TakeFloat(c), TakeFloat(c), TakeFloat(c)};
            keys.push_back(p);
        }
        if (w.node >= 0 && w.node < 150) {
            if ((int)w.scene.tracks.size() <= w.node) w.scene.tracks.resize(w.node + 1);
            w.scene.tracks[w.node] = keys;
        }
        break;
    }
    default:
        break;
    }
}

void ReadChunks(Walk& w, Cursor& c, size_t end) {
    while (c.ok && c.at < end) {
        size_t start = c.at;
        unsigned id = Take(c, 2);
        uint32_t length = Take(c, 4);
        if (!c.ok || length < 6 || start + length > end) {
            c.ok = false;
            return;
        }
        ReadBody(w, c, id, start + length);
        c.at = start + length;
    }
}

}  // namespace

SceneFile ReadSceneFile(const std::string& path) {
    std::string data = ReadWholeFile(path);
    Walk w;
    Cursor c = {&data, 0, true};
    ReadChunks(w, c, data.size());
    w.scene.readable = c.ok && !data.empty();
    return w.scene;
}

std::vector<KeyPoint> ExpandCameraPath(const std::vector<KeyPoint>& keys) {
    std::vector<KeyPoint> path;
    for (size_t i = 1; i + 2 < keys.size(); i++) {
        const KeyPoint &p0 = keys[i - 1], &p1 = keys[i], &p2 = keys[i + 1], &p3 = keys[i + 2];
        for (int s = 0; s <= 300; s++) {
            double t = s / 300.0;
            double b0 = (1 - t) * (1 - t) * (1 - t), b1 = 3 * t * t * t - 6 * t * t + 4;
            double b2 = -3 * t * t * t + 3 * t * t + 3 * t + 1, b3 = t * t * t;
            auto mix = [&](float KeyPoint::*axis) {
                return (float)((b0 * (p0.*axis) + b1 * (p1.*axis) + b2 * (p2.*axis) + b3 * (p3.*axis)) / 6);
            };
            path.push_back({mix(&KeyPoint::x), mix(&KeyPoint::y), mix(&KeyPoint::z)});
        }
    }
    return path;
}
