#include "platform/files.h"

#include <cstdio>
#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#endif

bool MoveFileOver(const char* from, const char* to) {
#ifdef _WIN32
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return rename(from, to) == 0;
#endif
}

bool MakeFolder(const char* path) {
#ifdef _WIN32
    return mkdir(path) == 0;
#else
    return mkdir(path, 0755) == 0;
#endif
}
