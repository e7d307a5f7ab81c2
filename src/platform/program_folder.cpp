#include "platform/program_folder.h"

#include <SDL2/SDL.h>

#include <cstdio>

bool ProgramFolder(char* out, size_t size) {
    char* base = SDL_GetBasePath();  // needs no SDL_Init
    if (!base) return false;
    int length = snprintf(out, size, "%s", base);
    SDL_free(base);
    return length > 0 && (size_t)length < size;
}

#ifdef _WIN32
static const char kInstalledData[] = "";
#else
static const char kInstalledData[] = "../share/kamora/";
#endif

bool InstalledDataPath(const char* name, char* out, size_t size) {
    char folder[4096];
    if (!ProgramFolder(folder, sizeof folder)) return false;
    int length = snprintf(out, size, "%s%s%s", folder, kInstalledData, name);
    return length > 0 && (size_t)length < size;
}

static bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

bool IsAbsolutePath(const char* path) {
    if (IsSeparator(path[0])) return true;  // on Windows also "\dir", on the working folder's drive
#ifdef _WIN32
    char c = path[0];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && path[1] == ':' && IsSeparator(path[2]);
#else
    return false;
#endif
}
