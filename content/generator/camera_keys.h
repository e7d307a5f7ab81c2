// Camera key tracks for the scenes. The show turns every key interval into 301 frames of
// the Effect's own clock, so the number of keys sets how long a path lasts.
#pragma once

#include "model.h"

#include <functional>

// Keys on a circling path around `centre`: angle (degrees), horizontal distance and height
// each move from their first to their last value with an ease in and out.
struct Orbit {
    Point3 centre;
    float angleFrom, angleTo;
    float distanceFrom, distanceTo;
    float heightFrom, heightTo;
    Point3 targetFrom, targetTo;
};
void SetOrbitKeys(Model& model, int keyCount, const Orbit& orbit);

// Keys along a curve: the eye at curve(s), the target at curve(s + lead), s from `from` to `to`.
void SetCurveKeys(Model& model, int keyCount, const std::function<Point3(float)>& curve, float from, float to,
                  float lead);

// Four still keys: for scenes whose camera the show loads but never flies.
void SetStillKeys(Model& model, Point3 eye, Point3 target);
