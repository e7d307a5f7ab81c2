// Procedural geometry: the primitives the scenes are built from. Every builder appends to a
// mesh; closed surfaces are wound counter-clockwise seen from outside (`inward` flips them).
#pragma once

#include "model.h"

#include <vector>

Point3 P3(float x, float y, float z);
Point3 Add3(Point3 a, Point3 b);
Point3 Sub3(Point3 a, Point3 b);
Point3 Scale3(Point3 a, float s);
Point3 Cross3(Point3 a, Point3 b);
float Dot3(Point3 a, Point3 b);
float Length3(Point3 a);
Point3 Normalize3(Point3 a);
Point3 Lerp3(Point3 a, Point3 b, float t);

// Ellipsoid around `centre`; u runs `uRepeat` times round, v from the bottom to the top.
void AddEllipsoid(ModelMesh& mesh, Point3 centre, Point3 radii, int slices, int stacks,
                  float uRepeat, float vRepeat, bool inward = false);
// The upper half of an ellipsoid seen from inside, its rim on the plane z = centre.z: a sky dome.
void AddDome(ModelMesh& mesh, Point3 centre, Point3 radii, int slices, int stacks, float uRepeat, float vRepeat);
// A flat grid from `origin` spanning `edgeU` and `edgeV`, texture repeated uRepeat × vRepeat.
void AddGrid(ModelMesh& mesh, Point3 origin, Point3 edgeU, Point3 edgeV, int cellsU, int cellsV,
             float uRepeat, float vRepeat);
// Axis-aligned box, texture `uvPerUnit` repeats per unit on every side.
void AddBox(ModelMesh& mesh, Point3 low, Point3 high, float uvPerUnit);
// A tube of `radius` swept along `path` (open ends); v advances `vPerUnit` per unit of length.
void AddSweep(ModelMesh& mesh, const std::vector<Point3>& path, float radius, int sides,
              float uRepeat, float vPerUnit, bool inward = false);
// Torus around `centre` in the plane spanned by axisA and axisB.
void AddTorus(ModelMesh& mesh, Point3 centre, Point3 axisA, Point3 axisB, float ringRadius,
              float tubeRadius, int segments, int sides, float uRepeat, float vRepeat);
// Cylinder or cone along z from `base` up `height`, radii at the bottom and the top; capped.
void AddCone(ModelMesh& mesh, Point3 base, float height, float bottomRadius, float topRadius,
             int sides, float uRepeat, float vRepeat);
// A coil spring: a thin tube wound `turns` times around the axis from `start` to `end`.
void AddSpring(ModelMesh& mesh, Point3 start, Point3 end, float coilRadius, float wireRadius,
               float turns, int stepsPerTurn, int sides);
// Squeezes the mesh's mapping coordinates into the window u0..u1 × v0..v1 of its texture.
void RemapUv(ModelMesh& mesh, float u0, float u1, float v0, float v1);
// A flat disc in the plane z = centre.z, facing +z; texture `uvPerUnit` repeats per unit.
void AddDisc(ModelMesh& mesh, Point3 centre, float radius, int rings, int segments, float uvPerUnit);
