// The late scenes: the old cube (oldcube), the castle (castle), the sphere (sphere) and the
// camera over the picture grid (planes).
#include "camera_keys.h"
#include "generator.h"
#include "output.h"
#include "shapes.h"

#include <cmath>

static const float kUv = 1.0f / 160;  // blue_env spread over the castle's stones

static void AddWallWithMerlons(ModelMesh& walls, ModelMesh& merlons, Point3 a, Point3 b) {
    Point3 low = P3(std::fmin(a.x, b.x) - 6, std::fmin(a.y, b.y) - 6, 0);
    Point3 high = P3(std::fmax(a.x, b.x) + 6, std::fmax(a.y, b.y) + 6, 48);
    AddBox(walls, low, high, kUv);
    for (int i = 1; i < 10; i++) {  // battlements along the top
        Point3 c = Lerp3(a, b, i / 10.0f);
        AddBox(merlons, P3(c.x - 5, c.y - 5, 48), P3(c.x + 5, c.y + 5, 58), kUv);
    }
}

// A hill, curtain walls, battlements, four towers with roofs, the keep with its roof and a
// flag: every mesh gets the same texture in the show.
static Model Castle() {
    Model model;
    AddDisc(AddMesh(model, "Hill", {0.3f, 0.5f, 0.3f}), P3(0, 0, 0), 190, 3, 24, 1.0f / 380);
    ModelMesh& walls = AddMesh(model, "Walls", {0.6f, 0.6f, 0.65f});
    ModelMesh& merlons = AddMesh(model, "Battlements", {0.6f, 0.6f, 0.65f});
    const Point3 corners[4] = {P3(-100, -100, 0), P3(100, -100, 0), P3(100, 100, 0), P3(-100, 100, 0)};
    for (int i = 0; i < 4; i++) AddWallWithMerlons(walls, merlons, corners[i], corners[(i + 1) % 4]);
    ModelMesh& towers = AddMesh(model, "Towers", {0.6f, 0.6f, 0.65f});
    ModelMesh& roofs = AddMesh(model, "Roofs", {0.6f, 0.2f, 0.2f});
    for (const Point3& c : corners) {
        AddCone(towers, c, 86, 20, 18, 16, 2, 1);
        AddCone(roofs, P3(c.x, c.y, 86), 48, 25, 0, 16, 2, 1);
    }
    ModelMesh& keep = AddMesh(model, "Keep", {0.65f, 0.65f, 0.7f});
    AddBox(keep, P3(-35, -35, 0), P3(35, 35, 120), kUv);
    AddCone(keep, P3(0, 0, 120), 60, 50, 0, 4, 2, 1);
    ModelMesh& flag = AddMesh(model, "Flag", {0.9f, 0.2f, 0.2f});
    AddBox(flag, P3(-1.5f, -1.5f, 180), P3(1.5f, 1.5f, 230), kUv);
    AddGrid(flag, P3(1.5f, 0, 212), P3(34, 0, 0), P3(0, 0, 18), 4, 1, 1, 1);
    // The show maps the sky half of blue_env.tga on every stone: keep off the ball's rim.
    for (ModelMesh& mesh : model.meshes) RemapUv(mesh, 0.3f, 0.7f, 0.58f, 0.9f);
    // 6.8 s at now / 2: 3,400 frames, at least 15 keys; one fast turn around the walls.
    SetOrbitKeys(model, 17, {P3(0, 0, 0), -60, 300, 340, 260, 170, 70, P3(0, 0, 70), P3(0, 0, 55)});
    return model;
}

static Model Sphere() {
    Model model;
    AddEllipsoid(AddMesh(model, "Sphere", {0.8f, 0.8f, 0.9f}), P3(0, 0, 0), P3(50, 50, 50), 20, 14, 1, 1);
    SetStillKeys(model, P3(0, -160, 40), P3(0, 0, 0));
    return model;
}

// Only the camera of this scene is used: it circles in from the side over the 400 × 400
// picture grid around the origin and ends in front of it, always looking down at a slant
// (never straight down, the view's up is close to +z).
static Model PictureGridCamera() {
    Model model;
    AddGrid(AddMesh(model, "Marker", {1, 1, 1}), P3(-4, -4, -10), P3(8, 0, 0), P3(0, 8, 0), 1, 1, 1, 1);
    // 21.2 s at now / 3: 7,070 frames, at least 27 keys.
    SetOrbitKeys(model, 29, {P3(-4, -4, 0), -150, -90, 380, 130, 240, 210, P3(-4, -4, 0), P3(-4, -4, 0)});
    return model;
}

bool WriteLateScenes() {
    bool ok = EmitModel("oldcube.3ds", CubeModel("OldCube", 20));
    ok = EmitModel("castle.3DS", Castle()) && ok;
    ok = EmitModel("sphere.3ds", Sphere()) && ok;
    return EmitModel("planes.3DS", PictureGridCamera()) && ok;
}
