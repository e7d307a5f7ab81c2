// Camera key tracks.
#include "camera_keys.h"

#include "shapes.h"

#include <cmath>

static float Ease(float t) { return t * t * (3 - 2 * t) * 0.6f + t * 0.4f; }  // gentle, never still

void SetOrbitKeys(Model& model, int keyCount, const Orbit& orbit) {
    model.eyeKeys.clear();
    model.targetKeys.clear();
    for (int i = 0; i < keyCount; i++) {
        float t = Ease((float)i / (keyCount - 1));
        float angle = (orbit.angleFrom + (orbit.angleTo - orbit.angleFrom) * t) * 3.14159265f / 180;
        float distance = orbit.distanceFrom + (orbit.distanceTo - orbit.distanceFrom) * t;
        float height = orbit.heightFrom + (orbit.heightTo - orbit.heightFrom) * t;
        model.eyeKeys.push_back(Add3(orbit.centre, P3(distance * std::cos(angle), distance * std::sin(angle), height)));
        model.targetKeys.push_back(Lerp3(orbit.targetFrom, orbit.targetTo, t));
    }
}

void SetCurveKeys(Model& model, int keyCount, const std::function<Point3(float)>& curve, float from, float to,
                  float lead) {
    model.eyeKeys.clear();
    model.targetKeys.clear();
    for (int i = 0; i < keyCount; i++) {
        float s = from + (to - from) * i / (keyCount - 1);
        model.eyeKeys.push_back(curve(s));
        model.targetKeys.push_back(curve(s + lead));
    }
}

void SetStillKeys(Model& model, Point3 eye, Point3 target) {
    model.eyeKeys.assign(4, eye);
    model.targetKeys.assign(4, target);
}
