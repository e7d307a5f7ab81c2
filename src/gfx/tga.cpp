// Placeholder until the TGA reader lands: reports every file as unreadable.
#include "gfx/tga.h"

#include <cstdio>

bool LoadTGATexture(WindowHandle window, Texture* texture, const char* path) {
    char text[1200];
    texture->data = nullptr;
    snprintf(text, sizeof text, "Error loading %s\nUnable to open (NULL)", path);
    ShowMessageBox(window, text, "TGA Loader", MB_OK | MB_ICONERROR);
    return false;
}
