// The opening scenes: the hall of planets (scn1), the crew logo (flipe01) and the chrome
// sculptures (flipe_env).
#include "camera_keys.h"
#include "generator.h"
#include "output.h"
#include "shapes.h"

#include <cmath>

// Six meshes: floor and vault 0, planets 1, 2, 4 and 5, and the glass ring 3 (sphere-mapped and
// translucent in the show). The flare ring circles (-28, 0, 0) 40 to 120 units out, so the
// camera keeps 140 to 190 units from it.
static Model HallOfPlanets() {
    Model model;
    // A round hall: the floor's mesh also carries the vault, tiled like the floor, so the camera
    // never looks past the scene into black.
    ModelMesh& floor = AddMesh(model, "Floor", {0.5f, 0.5f, 0.6f});
    AddDisc(floor, P3(-28, 0, -90), 880, 8, 40, 1.0f / 120);
    AddDome(floor, P3(-28, 0, -90), P3(880, 880, 560), 32, 10, 12, 3);
    AddEllipsoid(AddMesh(model, "PlanetA", {0.9f, 0.6f, 0.3f}), P3(280, 320, 80), P3(90, 90, 90), 24, 16, 1, 1);
    AddEllipsoid(AddMesh(model, "PlanetB", {0.8f, 0.5f, 0.3f}), P3(-340, 240, 150), P3(60, 60, 60), 24, 16, 2, 1);
    ModelMesh& glass = AddMesh(model, "GlassRing", {0.6f, 0.8f, 1.0f});
    AddTorus(glass, P3(-28, 0, 0), P3(1, 0, 0), P3(0, 1, 0), 150, 14, 40, 16, 8, 1);
    AddEllipsoid(AddMesh(model, "PlanetC", {0.9f, 0.7f, 0.4f}), P3(140, -400, 40), P3(110, 110, 110), 24, 16, 1, 1);
    AddEllipsoid(AddMesh(model, "PlanetD", {0.7f, 0.4f, 0.3f}), P3(-320, -280, 10), P3(45, 45, 45), 24, 16, 3, 1);
    // 22.7 s at now / 7: 3,240 frames, 11 intervals at least; 16 keys leave room to spare.
    SetOrbitKeys(model, 16, {P3(-28, 0, 0), -110, 250, 185, 145, 95, 40, P3(-28, 0, 0), P3(-15, 0, -5)});
    return model;
}

// The crew logo, three additive layers facing -y; the camera drifts in front of it.
static Model CrewLogoScene() {
    Model model;
    const float layers[3][2] = {{0, 1.0f}, {14, 1.12f}, {28, 1.25f}};  // depth behind, size
    for (int i = 0; i < 3; i++) {
        float w = 110 * layers[i][1], h = 55 * layers[i][1], y = layers[i][0];
        AddGrid(AddMesh(model, "Logo" + std::to_string(i), {0.4f, 0.7f, 1.0f}), P3(-w, y, -h), P3(2 * w, 0, 0),
                P3(0, 0, 2 * h), 1, 1, 1, 1);
    }
    // About 6.7 s at now / 3: 2,240 frames, at least 11 keys.
    SetOrbitKeys(model, 13, {P3(0, 0, 0), -112, -76, 200, 125, 30, -10, P3(0, 0, 8), P3(0, 0, 0)});
    return model;
}

// Seven chrome sculptures (sphere-mapped in the show) within 400 units of the origin (the title
// Effect draws them at a tenth of their size), a grid ground, a ring of columns and a grid dome:
// a scene a few kilometres across for flares 1,000 units out.
static Model ChromeSculptures() {
    Model model;
    AddEllipsoid(AddMesh(model, "ChromeCore", {0.9f, 0.9f, 0.95f}), P3(0, 0, 0), P3(160, 160, 160), 24, 16, 1, 1);
    for (int i = 0; i < 6; i++) {
        float a = i * 3.14159265f / 3;
        Point3 centre = P3(300 * std::cos(a), 300 * std::sin(a), (i % 2 ? 90.0f : -60.0f));
        Point3 radial = P3(std::cos(a), std::sin(a), 0);
        Point3 tilt = Normalize3(P3(-std::sin(a) * 0.6f, std::cos(a) * 0.6f, 0.8f));
        AddTorus(AddMesh(model, "ChromeRing" + std::to_string(i), {0.9f, 0.9f, 0.95f}), centre, radial, tilt,
                 70, 22, 24, 12, 1, 1);
    }
    AddGrid(AddMesh(model, "Ground", {0.2f, 0.3f, 0.5f}), P3(-2600, -2600, -380), P3(5200, 0, 0), P3(0, 5200, 0),
            16, 16, 20, 20);
    ModelMesh& columns = AddMesh(model, "Columns", {0.3f, 0.4f, 0.6f});
    for (int i = 0; i < 10; i++) {
        float a = i * 3.14159265f / 5 + 0.3f;
        AddCone(columns, P3(1750 * std::cos(a), 1750 * std::sin(a), -380), 1100, 70, 55, 12, 2, 6);
    }
    // A dome over it all, inside the far plane from every point of the camera path. It shows only
    // a strip of the grid picture between two of its vertical lines, so the sky is dark blue with
    // eight rings of light and the gridded columns stand out in front of it.
    ModelMesh& dome = AddMesh(model, "Dome", {0.2f, 0.3f, 0.5f});
    AddDome(dome, P3(0, 0, -380), P3(2500, 2500, 1700), 40, 12, 1, 6);
    RemapUv(dome, 0.045f, 0.08f, 0, 1);
    // 13.7 s at now / 8: 1,710 frames, at least 9 keys.
    SetOrbitKeys(model, 11, {P3(0, 0, 0), 200, 20, 1200, 700, 450, 180, P3(0, 0, 40), P3(0, 0, 90)});
    return model;
}

bool WriteOpeningScenes() {
    bool ok = EmitModel("scn1.3ds", HallOfPlanets());
    ok = EmitModel("flipe01.3DS", CrewLogoScene()) && ok;
    return EmitModel("flipe_env.3ds", ChromeSculptures()) && ok;
}
