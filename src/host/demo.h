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

// The show's package file, "KaMora.ppk" unless the toolbox says otherwise: looked for in the
// working directory, then in the data folder installed with the program (../share/kamora/).
extern const char* PackageFileName;
