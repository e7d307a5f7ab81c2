#include "render/scene_draw.h"

#include "gfx/gl.h"
#include "render/mesh_draw.h"

Vec3 CameraEye;

static int ClampIndex(long long index, int count) {
    if (count > kMaxTrackPoints) count = kMaxTrackPoints;  // a damaged count stays in the table
    if (index > count - 1) index = count - 1;
    return index < 0 ? 0 : (int)index;
}

static bool HasPath(const CameraTrack* paths, int camera) {
    return paths && paths[camera].count > 0;
}

// Places the camera and publishes its eye; false when the Scene has no usable camera path.
static bool PlaceCamera(int frame, Scene* scene) {
    if (scene->currentCamera > scene->cameraCount - 1 || scene->currentCamera < 0) scene->currentCamera = 0;
    int c = scene->currentCamera;
    if (scene->cameraCount < 1 || !HasPath(scene->eyePath, c) || !HasPath(scene->targetPath, c)) return false;
    long long rel = (long long)frame - scene->startFrame;
    const CameraTrack& eyes = scene->eyePath[c];
    const CameraTrack& targets = scene->targetPath[c];
    Vec3 e = eyes.points[ClampIndex(rel, eyes.count)];
    Vec3 t = targets.points[ClampIndex(rel, targets.count)];
    // Paths hold points at twice the scene's scale.
    Vec3 eye = MakeVec3(e.x * 0.5f, e.y * 0.5f, e.z * 0.5f);
    Vec3 target = MakeVec3(t.x * 0.5f, t.y * 0.5f, t.z * 0.5f);
    // Screen-up follows the file's +z axis, tilted slightly toward +y.
    gluLookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, 0, 1, 45);
    CameraEye = eye;
    return true;
}

// A Mesh whose texture number is not in the table draws untextured (texture name 0).
static GLuint MeshTextureName(const Scene* scene, const Mesh* mesh) {
    if (!scene->textures || mesh->texture < 0 || mesh->texture >= scene->textureCount) return 0;
    return scene->textures[mesh->texture].textureId;
}

// The flags are entered and left also for invisible Meshes, and their texture is still bound.
static void DrawSceneMesh(const Scene* scene, const Mesh* mesh) {
    if (mesh->faded) {
        glEnable(GL_BLEND);
        glColor4f(1, 1, 1, mesh->alpha);
        BeginAdditiveBlend();
    }
    if (mesh->cullFace) glEnable(GL_CULL_FACE);
    if (mesh->additive) BeginAdditiveBlend();
    if (mesh->envMap) {
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
    glBindTexture(GL_TEXTURE_2D, MeshTextureName(scene, mesh));
    glPushMatrix();
    if (mesh->visible) {
        if (mesh->envMap) DrawMeshEnv(mesh, 0, 0, 0, 0, 0, 0);
        else DrawMesh(mesh, 0, 0, 0, 0, 0, 0);
    }
    glPopMatrix();
    if (mesh->envMap) {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    if (mesh->additive) EndAdditiveBlend();
    if (mesh->cullFace) glDisable(GL_CULL_FACE);
    if (mesh->faded) {
        glColor4f(1, 1, 1, 1);
        EndAdditiveBlend();
    }
}

void DrawScene(int frame, Scene* scene, bool ownMatrix) {
    if (scene->startFrame == -1) scene->startFrame = frame;  // the path starts at the first frame drawn
    if (ownMatrix) glPushMatrix();
    if (!PlaceCamera(frame, scene)) CameraEye = MakeVec3(0, 0, 0);
    glEnable(GL_TEXTURE_2D);
    if (scene->meshes)
        for (int m = 0; m < scene->meshCount; ++m) DrawSceneMesh(scene, &scene->meshes[m]);
    glDisable(GL_TEXTURE_2D);
    if (ownMatrix) glPopMatrix();
}
