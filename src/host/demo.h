// Pre-loading, loading and unloading of the whole show.
#pragma once

#include "gfx/texture.h"
#include "package/package.h"
#include "scene/scene.h"

extern Texture LoadingPicture;  // "load.tga"; never released
extern Mesh ScreenQuad;         // the square from (-1, -1, 0) to (1, 1, 0), texture 0..1
extern char MusicPath[kPackagePathCapacity];  // the music's temporary file, deleted again by UnloadDemo

bool PreloadDemo();
bool LoadLoadingScreen();
bool LoadDemo();
void UnloadDemo();

// The show's package file, "KaMora.ppk" in the working directory unless the toolbox says otherwise.
extern const char* PackageFileName;
