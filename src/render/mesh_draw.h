// Immediate-mode mesh drawing and the additive render-state presets.
#pragma once

#include "scene/scene.h"

// Each applies translate, then rotations about x, y, z (degrees) and leaves them on the matrix.
void DrawMesh(const Mesh* mesh, float tx, float ty, float tz, float ax, float ay, float az);
void DrawMeshWire(const Mesh* mesh, float tx, float ty, float tz, float ax, float ay, float az);
void DrawMeshEnv(const Mesh* mesh, float tx, float ty, float tz, float ax, float ay, float az);

// Glowing drawing: additive blending, no depth writes, lighting and fog off.
void BeginAdditiveBlend();
// Back to ordinary alpha blending state (blending off); lighting and fog stay off.
void EndAdditiveBlend();

// (b - a) over its length truncated to whole units, with x and y exchanged; points closer than 1
// to a are divided by 1 (the coincident point gives (0, 0, 0)).
Vec3 EnvNormal(Vec3 a, Vec3 b);
Vec3 MakeVec3(float x, float y, float z);
