// Where the running program lives, so that it can find the files installed with it.
#pragma once

#include <cstddef>

// Writes the folder of the running program's executable, ending in its separator, into `out`
// (SDL asks the system for the running module's path, so this holds wherever the program was
// started from). False when the folder cannot be told or does not fit in `size` bytes.
bool ProgramFolder(char* out, size_t size);

// Writes where the data file `name` installed with the program lives: share/kamora/ beside the
// program's bin/ folder on Linux, the program's own folder on Windows (where a release is one
// unzipped folder). False when it cannot be told or does not fit in `size` bytes.
bool InstalledDataPath(const char* name, char* out, size_t size);

// True for a path that names the same file from any working folder: "/..." here; on Windows a
// drive ("C:\...", "C:/...") or a network share ("\\server\...").
bool IsAbsolutePath(const char* path);
