// The fuzz targets hand their input to the real readers through a file, as the show reads it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// Writes the input to this process's private temporary file (removed at exit) and returns its
// path, or null when it cannot be written.
inline const char* WriteFuzzInput(const uint8_t* data, size_t size) {
    static std::string path;
    if (path.empty()) {
        char name[] = "/tmp/kamora_fuzz_XXXXXX";
        int fd = mkstemp(name);
        if (fd < 0) return nullptr;
        close(fd);
        path = name;
        atexit([] { remove(path.c_str()); });
    }
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return nullptr;
    fwrite(data, 1, size, file);
    fclose(file);
    return path.c_str();
}
