// The rides: a looping tube with springs (tubo) and the flight through fog (fr08).
#include "camera_keys.h"
#include "generator.h"
#include "output.h"
#include "shapes.h"

#include <cmath>

static Point3 TubeCentre(float a) {
    return P3(430 * std::cos(a), 300 * std::sin(a), 45 * std::sin(2 * a) + 60);
}

static std::vector<Point3> TubeLine(float from, float to, int steps) {
    std::vector<Point3> line;
    for (int i = 0; i <= steps; i++) line.push_back(TubeCentre(from + (to - from) * i / steps));
    return line;
}

// Mesh 0 is the tube (seen from inside), every other mesh a coil spring around its axis.
static Model TubeWithSprings() {
    Model model;
    const float kTurn = 6.2831853f;
    AddSweep(AddMesh(model, "Tube", {0.5f, 0.6f, 0.8f}), TubeLine(0, kTurn, 61), 36, 12, 2, 1.0f / 120, true);
    for (int i = 0; i < 8; i++) {
        float a = 0.45f + i * 0.68f;
        AddSpring(AddMesh(model, "Spring" + std::to_string(i), {0.9f, 0.75f, 0.35f}), TubeCentre(a),
                  TubeCentre(a + 0.11f), 27, 2.6f, 4, 24, 6);
    }
    // 20.5 s at now * 2 / 7: 5,860 frames, at least 23 keys; most of one lap.
    SetCurveKeys(model, 25, TubeCentre, 0.1f, 0.1f + kTurn * 0.9f, 0.22f);
    return model;
}

// The fog flight runs along +x, weaving a little; the fog hides all beyond about 120 units.
static Point3 FlightLine(float x) {
    return P3(x, 28 * std::sin(x / 260), 32 + 7 * std::sin(x / 150));
}

static void AddGate(ModelMesh& mesh, float x) {
    Point3 c = FlightLine(x);
    float y0 = c.y - 48, y1 = c.y + 48;
    AddBox(mesh, P3(x - 4, y0 - 6, 0), P3(x + 4, y0, 72), 1.0f / 24);  // posts
    AddBox(mesh, P3(x - 4, y1, 0), P3(x + 4, y1 + 6, 72), 1.0f / 24);
    AddBox(mesh, P3(x - 3, y0, 64), P3(x + 3, y1, 72), 1.0f / 24);     // top bar
    AddBox(mesh, P3(x - 3, y0, 6), P3(x + 3, y1, 13), 1.0f / 24);      // low bar
}

// The course is a closed box round the flight line, so every way the camera looks ends on a
// surface the fog turns white (the clear colour behind is black). The walls stay within about
// 100 units of the line; the far wall stands just past the last gate.
enum { kCourseStart = -300, kCourseLength = 2400, kCourseHalfWidth = 100, kCourseHeight = 130 };

// The sky mesh: the roof, both side walls and both end walls, all facing inwards.
static void AddCourseShell(ModelMesh& mesh) {
    const float x0 = kCourseStart, x1 = kCourseStart + kCourseLength, w = kCourseHalfWidth, h = kCourseHeight;
    const Point3 along = P3(kCourseLength, 0, 0), across = P3(0, 2 * w, 0), up = P3(0, 0, h);
    AddGrid(mesh, P3(x0, w, h), along, Scale3(across, -1), 24, 2, 12, 1);   // roof, facing -z
    AddGrid(mesh, P3(x0, w, 0), along, up, 24, 2, 12, 1);                   // left wall, facing -y
    AddGrid(mesh, P3(x0, -w, h), along, Scale3(up, -1), 24, 2, 12, 1);      // right wall, facing +y
    AddGrid(mesh, P3(x0, -w, 0), across, up, 2, 2, 1, 1);                   // back wall, facing +x
    AddGrid(mesh, P3(x1, -w, h), across, Scale3(up, -1), 2, 2, 1, 1);       // far wall, facing -x
}

// 24 meshes: floor 0, sky 1, tunnel pieces 2 and 4 to 8, a guide line 3 (the show gives it
// no texture of its own), and the gates 9 to 23.
static Model FogCourse() {
    Model model;
    AddGrid(AddMesh(model, "Floor", {0.4f, 0.4f, 0.4f}), P3(kCourseStart, -kCourseHalfWidth, 0),
            P3(kCourseLength, 0, 0), P3(0, 2 * kCourseHalfWidth, 0), 24, 2, 24, 2);
    AddCourseShell(AddMesh(model, "Sky", {0.6f, 0.7f, 0.9f}));
    const float tunnels[6] = {200, 500, 800, 1100, 1400, 1700};
    for (int i = 0; i < 6; i++) {
        if (i == 1) AddGrid(AddMesh(model, "Guide", {0.9f, 0.9f, 0.2f}), P3(kCourseStart, -2, 0.5f), P3(kCourseLength, 0, 0), P3(0, 4, 0), 24, 1, 24, 1);
        std::vector<Point3> line;
        for (int k = 0; k <= 8; k++) line.push_back(FlightLine(tunnels[i] + 15 * k));
        AddSweep(AddMesh(model, "Tunnel" + std::to_string(i), {0.7f, 0.3f, 0.25f}), line, 58, 16, 3, 1.0f / 60, true);
    }
    const float gates[15] = {60, 140, 370, 450, 670, 750, 970, 1050, 1270, 1350, 1570, 1650, 1870, 1950, 2030};
    for (int i = 0; i < 15; i++) AddGate(AddMesh(model, "Gate" + std::to_string(i), {1.0f, 0.8f, 0.1f}), gates[i]);
    // 13.7 s at now * 2 / 7: 3,910 frames, at least 16 keys.
    SetCurveKeys(model, 18, FlightLine, -60, 2000, 90);
    return model;
}

bool WriteRideScenes() {
    bool ok = EmitModel("tubo.3DS", TubeWithSprings());
    return EmitModel("fr08.3DS", FogCourse()) && ok;
}
