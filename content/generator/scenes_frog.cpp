// The frog on its pond (frog) and the cube of the cube field (cube).
#include "camera_keys.h"
#include "generator.h"
#include "output.h"
#include "shapes.h"

// One leg: thigh, shin and a flat webbed foot, mirrored by `side` (+1 left, -1 right).
static void AddBackLeg(ModelMesh& mesh, float side) {
    AddEllipsoid(mesh, P3(-14, 24 * side, 14), P3(17, 8, 9), 14, 8, 1, 1);
    AddEllipsoid(mesh, P3(-2, 30 * side, 6), P3(15, 5, 5), 12, 6, 1, 1);
    AddEllipsoid(mesh, P3(10, 32 * side, 1.5f), P3(13, 8, 1.8f), 12, 6, 1, 1);
}

static void AddFrontLeg(ModelMesh& mesh, float side) {
    AddEllipsoid(mesh, P3(22, 16 * side, 11), P3(4.5f, 4.5f, 11), 10, 8, 1, 1);
    AddEllipsoid(mesh, P3(27, 19 * side, 1.2f), P3(8, 6, 1.5f), 10, 6, 1, 1);
}

// Eleven meshes in the order the show colours them: body 0 (green), eye whites 1 and 2,
// legs 3 to 6 (green2), pupils 7 and 8 (black), pond 9 (blue), sky 10.
static Model FrogOnPond() {
    Model model;
    ModelMesh& body = AddMesh(model, "Body", {0.3f, 0.6f, 0.15f});
    AddEllipsoid(body, P3(0, 0, 20), P3(30, 23, 17), 24, 16, 2, 1);
    AddEllipsoid(body, P3(24, 0, 30), P3(17, 19, 12), 16, 12, 1, 1);
    AddEllipsoid(AddMesh(model, "EyeLeft", {1, 1, 1}), P3(29, 11, 40), P3(8, 8, 8), 16, 12, 1, 1);
    AddEllipsoid(AddMesh(model, "EyeRight", {1, 1, 1}), P3(29, -11, 40), P3(8, 8, 8), 16, 12, 1, 1);
    AddBackLeg(AddMesh(model, "BackLegLeft", {0.4f, 0.7f, 0.2f}), 1);
    AddBackLeg(AddMesh(model, "BackLegRight", {0.4f, 0.7f, 0.2f}), -1);
    AddFrontLeg(AddMesh(model, "FrontLegLeft", {0.4f, 0.7f, 0.2f}), 1);
    AddFrontLeg(AddMesh(model, "FrontLegRight", {0.4f, 0.7f, 0.2f}), -1);
    AddEllipsoid(AddMesh(model, "PupilLeft", {0, 0, 0}), P3(35, 11.5f, 41.5f), P3(3.5f, 4, 4.5f), 12, 8, 1, 1);
    AddEllipsoid(AddMesh(model, "PupilRight", {0, 0, 0}), P3(35, -11.5f, 41.5f), P3(3.5f, 4, 4.5f), 12, 8, 1, 1);
    AddDisc(AddMesh(model, "Pond", {0.1f, 0.3f, 0.6f}), P3(0, 0, 0), 1100, 8, 40, 1.0f / 160);
    AddEllipsoid(AddMesh(model, "Sky", {0.5f, 0.7f, 1.0f}), P3(0, 0, -300), P3(1400, 1400, 1000), 24, 12, 3, 1, true);
    // 11.5 s at now / 3: 3,830 frames, at least 16 keys.
    SetOrbitKeys(model, 18, {P3(5, 0, 0), 25, 330, 125, 95, 50, 38, P3(12, 0, 24), P3(5, 0, 20)});
    return model;
}

Model CubeModel(const char* name, float half) {
    Model model;
    AddBox(AddMesh(model, name, {0.7f, 0.7f, 0.7f}), P3(-half, -half, -half), P3(half, half, half), 0.5f / half);
    SetStillKeys(model, P3(4 * half, -5 * half, 3 * half), P3(0, 0, 0));
    return model;
}

// The cube of the tumbling cluster and the cube field: its twelve edges as slim beams with
// open faces between them. The show adds its cubes and then a light grey over the whole view, so
// a solid cube saturates into a white blot, while beams keep a turning cube's outline.
static Model BeamCube(float half, float beam) {
    Model model;
    ModelMesh& mesh = AddMesh(model, "Cube", {0.7f, 0.7f, 0.7f});
    for (int axis = 0; axis < 3; axis++) {
        for (int corner = 0; corner < 4; corner++) {
            float low[3], high[3];
            low[axis] = -half;
            high[axis] = half;
            int u = (axis + 1) % 3, v = (axis + 2) % 3;
            low[u] = corner & 1 ? half - beam : -half;
            low[v] = corner & 2 ? half - beam : -half;
            high[u] = low[u] + beam;
            high[v] = low[v] + beam;
            AddBox(mesh, P3(low[0], low[1], low[2]), P3(high[0], high[1], high[2]), 0.5f / half);
        }
    }
    SetStillKeys(model, P3(4 * half, -5 * half, 3 * half), P3(0, 0, 0));
    return model;
}

bool WriteFrogScenes() {
    bool ok = EmitModel("frog.3DS", FrogOnPond());
    return EmitModel("cube.3DS", BeamCube(25, 5)) && ok;
}
