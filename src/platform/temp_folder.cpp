#include "platform/temp_folder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <unistd.h>

static char FolderPath[4096];
static bool FolderMade = false;
static bool CleanupRegistered = false;

static void RemoveAtExit() { RemovePrivateTempFolder(); }

const char* PrivateTempFolder() {
    if (FolderMade) return FolderPath;
    const char* base = getenv("TMPDIR");
    if (!base || !*base) base = "/tmp";
    int length = snprintf(FolderPath, sizeof FolderPath, "%s/kamora-XXXXXX", base);
    if (length >= (int)sizeof FolderPath || !mkdtemp(FolderPath)) {  // mkdtemp makes the folder with mode 0700
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
            snprintf(path, sizeof path, "%s/%s", FolderPath, entry->d_name);
            unlink(path);
        }
        closedir(dir);
    }
    rmdir(FolderPath);
    FolderMade = false;
}
