// Procedural geometry.
#include "shapes.h"

#include <cmath>

static const float kPi = 3.14159265f;

Point3 P3(float x, float y, float z) { return {x, y, z}; }
Point3 Add3(Point3 a, Point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Point3 Sub3(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Point3 Scale3(Point3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
Point3 Cross3(Point3 a, Point3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Dot3(Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
float Length3(Point3 a) { return std::sqrt(Dot3(a, a)); }
Point3 Normalize3(Point3 a) {
    float l = Length3(a);
    return l > 0 ? Scale3(a, 1 / l) : P3(0, 0, 1);
}
Point3 Lerp3(Point3 a, Point3 b, float t) { return Add3(a, Scale3(Sub3(b, a), t)); }

static int PutVertex(ModelMesh& mesh, Point3 p, float u, float v) {
    mesh.vertices.push_back({p.x, p.y, p.z, u, v});
    return (int)mesh.vertices.size() - 1;
}

static void PutTriangle(ModelMesh& mesh, int a, int b, int c) {
    mesh.faces.push_back((uint16_t)a);
    mesh.faces.push_back((uint16_t)b);
    mesh.faces.push_back((uint16_t)c);
}

// Quads of a (columns + 1) × (rows + 1) vertex lattice starting at `first`, column index
// fastest; (c, r) → (c + 1, r) → (c + 1, r + 1) is the front winding.
static void PutLattice(ModelMesh& mesh, int first, int columns, int rows, bool flip) {
    for (int r = 0; r < rows; r++) {
        for (int c = 0; c < columns; c++) {
            int i0 = first + r * (columns + 1) + c, i1 = i0 + 1;
            int i3 = i0 + columns + 1, i2 = i3 + 1;
            if (flip) {
                PutTriangle(mesh, i0, i2, i1);
                PutTriangle(mesh, i0, i3, i2);
            } else {
                PutTriangle(mesh, i0, i1, i2);
                PutTriangle(mesh, i0, i2, i3);
            }
        }
    }
}

// The part of an ellipsoid between the latitudes phiLow and phiHigh (radians, -pi/2 at the bottom).
static void AddEllipsoidBand(ModelMesh& mesh, Point3 centre, Point3 radii, int slices, int stacks, float phiLow,
                             float phiHigh, float uRepeat, float vRepeat, bool inward) {
    int first = (int)mesh.vertices.size();
    for (int j = 0; j <= stacks; j++) {
        float phi = phiLow + (phiHigh - phiLow) * j / stacks;
        for (int i = 0; i <= slices; i++) {
            float theta = 2 * kPi * i / slices;
            Point3 p = {centre.x + radii.x * std::cos(phi) * std::cos(theta),
                        centre.y + radii.y * std::cos(phi) * std::sin(theta), centre.z + radii.z * std::sin(phi)};
            PutVertex(mesh, p, uRepeat * i / slices, vRepeat * j / stacks);
        }
    }
    PutLattice(mesh, first, slices, stacks, inward);
}

void AddEllipsoid(ModelMesh& mesh, Point3 centre, Point3 radii, int slices, int stacks,
                  float uRepeat, float vRepeat, bool inward) {
    AddEllipsoidBand(mesh, centre, radii, slices, stacks, -kPi / 2, kPi / 2, uRepeat, vRepeat, inward);
}

void AddDome(ModelMesh& mesh, Point3 centre, Point3 radii, int slices, int stacks, float uRepeat, float vRepeat) {
    AddEllipsoidBand(mesh, centre, radii, slices, stacks, 0, kPi / 2, uRepeat, vRepeat, true);
}

void AddGrid(ModelMesh& mesh, Point3 origin, Point3 edgeU, Point3 edgeV, int cellsU, int cellsV,
             float uRepeat, float vRepeat) {
    int first = (int)mesh.vertices.size();
    for (int j = 0; j <= cellsV; j++) {
        for (int i = 0; i <= cellsU; i++) {
            float a = (float)i / cellsU, b = (float)j / cellsV;
            PutVertex(mesh, Add3(origin, Add3(Scale3(edgeU, a), Scale3(edgeV, b))), a * uRepeat, b * vRepeat);
        }
    }
    PutLattice(mesh, first, cellsU, cellsV, false);
}

void AddBox(ModelMesh& mesh, Point3 low, Point3 high, float uvPerUnit) {
    Point3 size = Sub3(high, low);
    Point3 ex = P3(size.x, 0, 0), ey = P3(0, size.y, 0), ez = P3(0, 0, size.z);
    float sx = size.x * uvPerUnit, sy = size.y * uvPerUnit, sz = size.z * uvPerUnit;
    AddGrid(mesh, low, ey, ex, 1, 1, sy, sx);                                  // bottom, facing -z
    AddGrid(mesh, Add3(low, ez), ex, ey, 1, 1, sx, sy);                        // top
    AddGrid(mesh, low, ex, ez, 1, 1, sx, sz);                                  // front, facing -y
    AddGrid(mesh, Add3(low, ey), ez, ex, 1, 1, sz, sx);                        // back
    AddGrid(mesh, low, ez, ey, 1, 1, sz, sy);                                  // left, facing -x
    AddGrid(mesh, Add3(low, ex), ey, ez, 1, 1, sy, sz);                        // right
}

// A unit vector at right angles to `t`.
static Point3 AnyNormal(Point3 t) {
    Point3 helper = std::fabs(t.z) < 0.9f ? P3(0, 0, 1) : P3(1, 0, 0);
    return Normalize3(Cross3(helper, t));
}

void AddSweep(ModelMesh& mesh, const std::vector<Point3>& path, float radius, int sides,
              float uRepeat, float vPerUnit, bool inward) {
    int rings = (int)path.size();
    if (rings < 2) return;
    int first = (int)mesh.vertices.size();
    Point3 normal = AnyNormal(Normalize3(Sub3(path[1], path[0])));
    float travelled = 0;
    for (int i = 0; i < rings; i++) {
        Point3 ahead = path[i + 1 < rings ? i + 1 : i], behind = path[i > 0 ? i - 1 : i];
        Point3 tangent = Normalize3(Sub3(ahead, behind));
        // Parallel transport: keep the previous normal, minus its part along the new tangent.
        normal = Normalize3(Sub3(normal, Scale3(tangent, Dot3(normal, tangent))));
        Point3 binormal = Cross3(tangent, normal);
        if (i > 0) travelled += Length3(Sub3(path[i], path[i - 1]));
        for (int k = 0; k <= sides; k++) {
            float a = 2 * kPi * k / sides;
            Point3 offset = Add3(Scale3(normal, std::cos(a) * radius), Scale3(binormal, std::sin(a) * radius));
            PutVertex(mesh, Add3(path[i], offset), uRepeat * k / sides, travelled * vPerUnit);
        }
    }
    PutLattice(mesh, first, sides, rings - 1, inward);
}

void AddTorus(ModelMesh& mesh, Point3 centre, Point3 axisA, Point3 axisB, float ringRadius,
              float tubeRadius, int segments, int sides, float uRepeat, float vRepeat) {
    int first = (int)mesh.vertices.size();
    Point3 axisN = Normalize3(Cross3(axisA, axisB));
    for (int j = 0; j <= segments; j++) {
        float a = 2 * kPi * j / segments;
        Point3 radial = Add3(Scale3(axisA, std::cos(a)), Scale3(axisB, std::sin(a)));
        for (int i = 0; i <= sides; i++) {
            float b = 2 * kPi * i / sides;
            Point3 p = Add3(centre, Add3(Scale3(radial, ringRadius + tubeRadius * std::cos(b)),
                                         Scale3(axisN, tubeRadius * std::sin(b))));
            PutVertex(mesh, p, uRepeat * j / segments, vRepeat * i / sides);
        }
    }
    PutLattice(mesh, first, sides, segments, true);
}

void AddCone(ModelMesh& mesh, Point3 base, float height, float bottomRadius, float topRadius,
             int sides, float uRepeat, float vRepeat) {
    int first = (int)mesh.vertices.size();
    for (int j = 0; j <= 1; j++) {
        float r = j ? topRadius : bottomRadius;
        for (int i = 0; i <= sides; i++) {
            float a = 2 * kPi * i / sides;
            PutVertex(mesh, P3(base.x + r * std::cos(a), base.y + r * std::sin(a), base.z + height * j),
                      uRepeat * i / sides, vRepeat * j);
        }
    }
    PutLattice(mesh, first, sides, 1, false);
    for (int j = 0; j <= 1; j++) {
        float r = j ? topRadius : bottomRadius;
        if (r <= 0) continue;
        int hub = PutVertex(mesh, P3(base.x, base.y, base.z + height * j), 0.5f, 0.5f);
        int ring = (int)mesh.vertices.size();
        for (int i = 0; i < sides; i++) {
            float a = 2 * kPi * i / sides;
            PutVertex(mesh, P3(base.x + r * std::cos(a), base.y + r * std::sin(a), base.z + height * j),
                      0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a));
        }
        for (int i = 0; i < sides; i++) {
            int a = ring + i, b = ring + (i + 1) % sides;
            if (j) PutTriangle(mesh, hub, a, b);
            else PutTriangle(mesh, hub, b, a);
        }
    }
}

void AddSpring(ModelMesh& mesh, Point3 start, Point3 end, float coilRadius, float wireRadius,
               float turns, int stepsPerTurn, int sides) {
    Point3 axis = Sub3(end, start);
    Point3 t = Normalize3(axis);
    Point3 n = AnyNormal(t), b = Cross3(t, n);
    int steps = (int)(turns * stepsPerTurn);
    std::vector<Point3> path;
    for (int i = 0; i <= steps; i++) {
        float f = (float)i / steps, a = 2 * kPi * turns * f;
        Point3 around = Add3(Scale3(n, std::cos(a) * coilRadius), Scale3(b, std::sin(a) * coilRadius));
        path.push_back(Add3(Add3(start, Scale3(axis, f)), around));
    }
    AddSweep(mesh, path, wireRadius, sides, 1, 0.02f);
}

void AddDisc(ModelMesh& mesh, Point3 centre, float radius, int rings, int segments, float uvPerUnit) {
    int first = (int)mesh.vertices.size();
    for (int j = 0; j <= rings; j++) {
        float r = radius * j / rings;
        for (int i = 0; i <= segments; i++) {
            float a = 2 * kPi * i / segments;
            Point3 p = P3(centre.x + r * std::cos(a), centre.y + r * std::sin(a), centre.z);
            PutVertex(mesh, p, p.x * uvPerUnit, p.y * uvPerUnit);
        }
    }
    PutLattice(mesh, first, segments, rings, true);  // angle then radius: flip to face +z
}

void RemapUv(ModelMesh& mesh, float u0, float u1, float v0, float v1) {
    if (mesh.vertices.empty()) return;
    float uLow = mesh.vertices[0].u, uHigh = uLow, vLow = mesh.vertices[0].v, vHigh = vLow;
    for (const ModelVertex& v : mesh.vertices) {
        uLow = std::fmin(uLow, v.u);
        uHigh = std::fmax(uHigh, v.u);
        vLow = std::fmin(vLow, v.v);
        vHigh = std::fmax(vHigh, v.v);
    }
    float uSpan = uHigh > uLow ? uHigh - uLow : 1, vSpan = vHigh > vLow ? vHigh - vLow : 1;
    for (ModelVertex& v : mesh.vertices) {
        v.u = u0 + (u1 - u0) * (v.u - uLow) / uSpan;
        v.v = v0 + (v1 - v0) * (v.v - vLow) / vSpan;
    }
}
