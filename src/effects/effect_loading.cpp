#include "effects/effect_loading.h"

#include "gfx/tga.h"
#include "gfx/window.h"
#include "package/package.h"
#include "platform/msgbox.h"
#include "scene/scene_loader.h"

#include <cstdio>

bool LoadSceneEntry(const char* entryName, Scene* scene, int textureCount) {
    scene->textureCount = (int8_t)textureCount;
    if (!ExtractFile(GLContext.window, entryName)) return false;
    if (!LoadScene(GLContext.window, ExtractedPath, scene)) return false;
    DeleteExtractedFile();
    return true;
}

bool LoadTextureEntry(const char* entryName, Texture* texture) {
    if (!ExtractFile(GLContext.window, entryName)) return false;
    if (!LoadTGATexture(GLContext.window, texture, ExtractedPath)) return false;
    DeleteExtractedFile();
    return true;
}

bool LoadSceneTextures(Scene* scene, const char* const* entryNames, int count) {
    for (int slot = 0; slot < count; ++slot)
        if (!LoadTextureEntry(entryNames[slot], &scene->textures[slot])) return false;
    return true;
}

bool RequireMeshes(const Scene* scene, int count, const char* entryName) {
    if (scene->meshCount >= count) return true;
    char text[256];
    snprintf(text, sizeof text, "%s holds %d meshes; the show needs at least %d!", entryName, scene->meshCount,
             count);
    ShowMessageBox(GLContext.window, text, "Error", MB_OK | MB_ICONERROR);
    return false;
}
