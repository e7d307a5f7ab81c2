// Loading an Effect's resources from the package: extract the entry, read it with its format's
// loader, delete the temporary file. A failing step has shown its message already; its temporary
// file stays, and the caller stops loading.
#pragma once

#include "gfx/texture.h"
#include "scene/scene.h"

// Loads a 3DS entry into an empty Scene with room for `textureCount` textures.
bool LoadSceneEntry(const char* entryName, Scene* scene, int textureCount);
// Loads a TGA entry into `texture` with its GL texture object.
bool LoadTextureEntry(const char* entryName, Texture* texture);
// Loads the entries into the Scene's texture slots 0, 1, ... in order.
bool LoadSceneTextures(Scene* scene, const char* const* entryNames, int count);
// False, after an "Error" message naming the entry, when the Scene holds fewer Meshes than the
// Effect sets attributes for or draws.
bool RequireMeshes(const Scene* scene, int count, const char* entryName);
