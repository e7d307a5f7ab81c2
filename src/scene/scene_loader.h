// Loads one 3DS file into a ready-to-draw Scene: meshes with default drawing attributes, and per
// camera its eye and target keys with their B-spline paths.
#pragma once

#include "platform/msgbox.h"
#include "scene/scene.h"

// True when the Scene is complete and no capacity was exceeded. The Scene must be empty (fresh
// or released) and its textureCount set. On a false result after allocation the Scene stays
// loaded and is released with UnloadScene; after a spline overflow it is released already.
// Not re-entrant: the reader's tables are shared.
bool LoadScene(WindowHandle owner, const char* path, Scene* scene);
