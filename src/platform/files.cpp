#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#endif

bool MoveFileOver(const char* from, const char* to) {
#ifdef _WIN32
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    // Callers report strerror(errno), as after rename(); Windows says why in its own codes.
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: errno = EACCES; break;
    case ERROR_DISK_FULL: errno = ENOSPC; break;
    case ERROR_NOT_SAME_DEVICE: errno = EXDEV; break;
    default: errno = EIO;
    }
    return false;
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

const char* PathFileName(const char* path) {
    const char* name = strrchr(path, '/');
#ifdef _WIN32
    const char* backslash = strrchr(path, '\\');
    if (backslash && (!name || backslash > name)) name = backslash;
#endif
    return name ? name + 1 : path;
}

bool ReadFileMark(const char* path, FileMark* mark) {
#ifdef _WIN32
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool read = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!read) return false;
    mark->size = (long long)info.nFileSizeHigh << 32 | info.nFileSizeLow;
    mark->changed = (long long)info.ftLastWriteTime.dwHighDateTime << 32 | info.ftLastWriteTime.dwLowDateTime;
#else
    struct stat file;
    if (stat(path, &file) != 0) return false;
    mark->size = file.st_size;
    mark->changed = file.st_mtim.tv_sec * 1000000000LL + file.st_mtim.tv_nsec;
#endif
    return true;
}
