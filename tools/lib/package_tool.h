// Helpers shared by the package commands of kamora-tool (pack, list, extract, verify,
// compress, decompress).
#pragma once

#include "package/package.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The show's message boxes become lines on stderr: the toolbox never opens a window.
void SendMessagesToStderr();

// The part of `path` after its last '/'.
const char* BaseName(const char* path);

// Length of an open file, or -1.
int64_t FileLength(FILE* file);

// Copies `count` bytes from `in` to `out` in blocks; false when `in` ends early or a write fails.
bool CopyBytes(FILE* in, FILE* out, int64_t count);

// Reads every record of a package without following an unsafe one. On a problem it returns
// false with `problem` set to "PATH: what" (naming the entry and its offset); `records` then
// holds the sound records before it.
bool ReadPackageIndex(const char* path, std::vector<PackageRecord>* records, std::string* problem);

// "PATH: entry I 'NAME' at offset N: WHAT"
std::string DescribeProblem(const char* path, const PackageRecord& record, int index, const char* what);

// True when `name` is safe to write as a file in one folder: not empty, no '/', not "." or "..".
bool IsPlainFileName(const char* name);
