#include "platform/temp_folder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#endif

static char FolderPath[4096];
static bool FolderMade = false;
static bool CleanupRegistered = false;

static void RemoveAtExit() { RemovePrivateTempFolder(); }

#ifdef _WIN32
// The user's own temporary folder (%TEMP%, under the profile no other user can write), and in it
// a folder of a name nobody has taken: CreateDirectory fails on one that exists, link or not.
static bool MakeFolder() {
    char base[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof base, base);
    if (length == 0 || length >= sizeof base) return false;
    if (base[length - 1] == '\\') base[length - 1] = 0;
    unsigned seed = GetCurrentProcessId() * 2654435761u ^ (unsigned)GetTickCount64();
    for (int attempt = 0; attempt < 100; ++attempt) {
        seed = seed * 1664525u + 1013904223u;
        int n = snprintf(FolderPath, sizeof FolderPath, "%s\\kamora-%06x", base, seed & 0xFFFFFF);
        if (n >= (int)sizeof FolderPath) return false;
        if (CreateDirectoryA(FolderPath, nullptr)) return true;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}
static const char kSeparator = '\\';
#else
static bool MakeFolder() {
    const char* base = getenv("TMPDIR");
    if (!base || !*base) base = "/tmp";
    int length = snprintf(FolderPath, sizeof FolderPath, "%s/kamora-XXXXXX", base);
    return length < (int)sizeof FolderPath && mkdtemp(FolderPath);  // mkdtemp makes it with mode 0700
}
static const char kSeparator = '/';
#endif

const char* PrivateTempFolder() {
    if (FolderMade) return FolderPath;
    if (!MakeFolder()) {
        FolderPath[0] = 0;
        return nullptr;
    }
    FolderMade = true;
    if (!CleanupRegistered) {
        atexit(RemoveAtExit);
        CleanupRegistered = true;
    }
    return FolderPath;
}

void RemovePrivateTempFolder() {
    if (!FolderMade) return;
    if (DIR* dir = opendir(FolderPath)) {
        while (dirent* entry = readdir(dir)) {
            if (!strcmp(entry->d_name, ".") || !strcmp(entry->d_name, "..")) continue;
            char path[4096 + 256];
            snprintf(path, sizeof path, "%s%c%s", FolderPath, kSeparator, entry->d_name);
            unlink(path);
        }
        closedir(dir);
    }
    rmdir(FolderPath);
    FolderMade = false;
}
