#include "render/mesh_draw.h"

#include "gfx/gl.h"

#include <cmath>

// A damaged count never reads past the face table.
static int FaceLimit(const Mesh* mesh) {
    if (mesh->faceCount < 0) return 0;
    return mesh->faceCount < kMaxFaces ? mesh->faceCount : kMaxFaces;
}

static void ApplyTransform(float tx, float ty, float tz, float ax, float ay, float az) {
    glTranslatef(tx, ty, tz);
    glRotatef(ax, 1, 0, 0);
    glRotatef(ay, 0, 1, 0);
    glRotatef(az, 0, 0, 1);
}

void DrawMesh(const Mesh* mesh, float tx, float ty, float tz, float ax, float ay, float az) {
    ApplyTransform(tx, ty, tz, ax, ay, az);
    for (int f = 0, count = FaceLimit(mesh); f < count; ++f) {
        const Face& face = mesh->faces[f];
        glBegin(GL_TRIANGLES);
        glNormal3f(0, 0, 1);  // one normal for all: lighting stays uniform over the mesh
        for (const FaceVertex& v : face.vertices) {
            glTexCoord2f(v.u, v.v);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
}

void DrawMeshWire(const Mesh* mesh, float tx, float ty, float tz, float ax, float ay, float az) {
    ApplyTransform(tx, ty, tz, ax, ay, az);
    glEnable(GL_LINE_SMOOTH);
    static const int kEdges[6] = {0, 1, 1, 2, 2, 0};
    for (int f = 0, count = FaceLimit(mesh); f < count; ++f) {
        const Face& face = mesh->faces[f];
        glBegin(GL_LINES);
        glNormal3f(0, 0, 1);
        for (int corner : kEdges) glVertex3f(face.vertices[corner].x, face.vertices[corner].y, face.vertices[corner].z);
        glEnd();
    }
    glDisable(GL_LINE_SMOOTH);
}

void DrawMeshEnv(const Mesh* mesh, float tx, float ty, float tz, float ax, float ay, float az) {
    ApplyTransform(tx, ty, tz, ax, ay, az);
    const Vec3 up = {0, 1, 0};
    for (int f = 0, count = FaceLimit(mesh); f < count; ++f) {
        const Face& face = mesh->faces[f];
        glBegin(GL_TRIANGLES);
        for (const FaceVertex& v : face.vertices) {
            Vec3 n = EnvNormal(up, Vec3{v.x, v.y, v.z});
            glNormal3f(n.x, n.y, -n.z);
            glVertex3f(v.x, v.y, v.z);
        }
        glEnd();
    }
}

void BeginAdditiveBlend() {
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
}

void EndAdditiveBlend() {
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

Vec3 EnvNormal(Vec3 a, Vec3 b) {
    Vec3 d = {b.x - a.x, b.y - a.y, b.z - a.z};
    float q = d.x * d.x + d.y * d.y + d.z * d.z;
    if (q == 0) q = 0.001f;
    // The length is truncated to whole units. Points closer than 1 would divide by zero; they
    // take a length of 1 like the points of the unit shell, so the result stays finite, changes
    // smoothly across that shell, and is (0, 0, 0) when the two points coincide.
    float truncated = truncf(fabsf(q));
    float s = sqrtf(truncated >= 1 ? truncated : 1);
    return Vec3{d.y / s, d.x / s, d.z / s};
}

Vec3 MakeVec3(float x, float y, float z) { return Vec3{x, y, z}; }
