// Where the running program lives, so that it can find the files installed with it.
#pragma once

#include <cstddef>

// Writes the folder of the running program's executable, ending in '/', into `out` (SDL reads
// /proc/self/exe, so this holds wherever the program was started from). False when the folder
// cannot be told or does not fit in `size` bytes.
bool ProgramFolder(char* out, size_t size);
