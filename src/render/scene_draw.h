// Drawing a loaded Scene from its animated camera.
#pragma once

#include "scene/scene.h"

// The eye of the most recent DrawScene at scene scale; billboards and flares turn toward it.
extern Vec3 CameraEye;

// Places the current camera at path point (frame - startFrame), each path held at its ends, and
// draws every Mesh with its texture and flags. With ownMatrix false the look-at stays on the
// modelview matrix. A Scene without a camera path is drawn from the untouched matrix, eye at the
// origin.
void DrawScene(int frame, Scene* scene, bool ownMatrix);
