// The waving picture grid under the end scroll.
#pragma once

#include "scene/scene.h"

enum { kPlanesPictureSize = 100, kPlanesGridSize = 50 };

// "planes.3DS": only its camera path is used; slot 0 "08cielo.tga" textures the grid squares.
extern Scene PlanesScene;
// kPlanesPictureSize rows of kPlanesPictureSize RGB colours from "ese.raw"; the grid shows every
// second pixel of every second row.
extern float* PlanesMatrix;

bool LoadPictureWave();
void DrawPictureWave(int now);
void UnloadPictureWave();
// The show's loop: back to the state loading left (every latched start time -1, its Scenes'
// startFrame -1).
void ResetPictureWave();

// The ripple's height `t` ms into the Effect: 64 at the start, dying away linearly, flat from
// 15,610 ms on.
float PictureWaveAmplitude(int t);
