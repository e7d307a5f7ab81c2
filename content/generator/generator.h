// The generator's parts: each writes its group of entries through output.h.
#pragma once

#include "captions.h"
#include "model.h"

bool WriteTextures();                         // every texture that is not lettering
bool WriteTables(const TextTable& texts);     // sinscrol.raw and ese.raw
bool WriteOpeningScenes();                    // scn1, flipe01, flipe_env
bool WriteFrogScenes();                       // frog, cube
bool WriteRideScenes();                       // tubo, fr08
bool WriteLateScenes();                       // oldcube, castle, sphere, planes

// A cube `half` × 2 units across, mapped once on every side, with a still camera.
Model CubeModel(const char* name, float half);
