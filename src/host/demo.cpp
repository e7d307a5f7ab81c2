#include "host/demo.h"

#include "effects/castle.h"
#include "effects/env_flares.h"
#include "effects/fog_flight.h"
#include "effects/frog_cubes.h"
#include "effects/opening_scene.h"
#include "effects/picture_wave.h"
#include "effects/scroller.h"
#include "effects/title_letters.h"
#include "effects/tube.h"
#include "gfx/tga.h"
#include "gfx/window.h"
#include "host/debug_log.h"
#include "host/frame_timer.h"
#include "music/music.h"
#include "package/package.h"
#include "platform/program_folder.h"

#include <cstdio>

Texture LoadingPicture;
Mesh ScreenQuad;
char MusicPath[kPackagePathCapacity];  // as long as ExtractedPath: the copy is whole
const char* PackageFileName = "KaMora.ppk";

static bool FileThere(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file) fclose(file);
    return file != nullptr;
}

// The package in the working folder first; failing that, the one installed with the program,
// so that an installed show plays from any folder. When neither is there the working folder's
// name stays, for the "not found" box.
static const char* PackageToOpen() {
    static char installed[kPackagePathCapacity];
    if (FileThere(PackageFileName) || IsAbsolutePath(PackageFileName) ||
        !InstalledDataPath(PackageFileName, installed, sizeof installed))
        return PackageFileName;
    return FileThere(installed) ? installed : PackageFileName;
}

bool PreloadDemo() {
    WriteDebugLog(" [ *** PreLoading *** ]");
    if (!InitUnpacker(GLContext.window, PackageToOpen(), 0, false)) return false;
    return LoadLoadingScreen();
}

static void SetQuadVertex(FaceVertex* v, float x, float y, float u, float tv) { *v = {x, y, 0, u, tv}; }

bool LoadLoadingScreen() {
    if (!ExtractFile(GLContext.window, "load.tga")) return false;
    if (!LoadTGATexture(GLContext.window, &LoadingPicture, ExtractedPath)) return false;
    DeleteExtractedFile();
    ScreenQuad.faceCount = 2;
    Face* f = ScreenQuad.faces;
    f[0].vertexCount = f[1].vertexCount = 3;
    SetQuadVertex(&f[0].vertices[0], -1, -1, 0, 0);
    SetQuadVertex(&f[0].vertices[1], -1, 1, 0, 1);
    SetQuadVertex(&f[0].vertices[2], 1, 1, 1, 1);
    SetQuadVertex(&f[1].vertices[0], -1, -1, 0, 0);
    SetQuadVertex(&f[1].vertices[1], 1, -1, 1, 0);
    SetQuadVertex(&f[1].vertices[2], 1, 1, 1, 1);
    return true;
}

static bool LoadEffects() {
    return LoadOpeningScene() && LoadLogoScene() && LoadEnvFlares() && LoadTitleLetters() &&
           LoadFrogCubes() && LoadTube() && LoadFogFlight() && LoadCastle() && LoadScroller() &&
           LoadPictureWave();
}

bool LoadDemo() {
    WriteDebugLog(" [ *** Loading *** ]");
    if (!ExtractFile(GLContext.window, "music.mp3")) return false;
    if (!CreateMusicStream(ExtractedPath)) return false;
    DeleteExtractedFile();  // the stream keeps its open file; the name goes now
    snprintf(MusicPath, sizeof MusicPath, "%s", ExtractedPath);
    if (!LoadEffects()) return false;
    StartFrameTimer();
    WriteDebugLog(" Demo loading done");
    return true;
}

void UnloadDemo() {
    UnloadOpeningScene();
    UnloadLogoScene();
    UnloadEnvFlares();
    UnloadTitleLetters();
    UnloadFrogCubes();
    UnloadFogFlight();
    UnloadCastle();
    UnloadScroller();
    UnloadPictureWave();
    UnloadTube();
    if (MusicPath[0]) remove(MusicPath);
    MusicPath[0] = 0;
    CloseDebugLog();
}
