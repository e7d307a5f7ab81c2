// The package file: every asset of the show, unpacked on demand into the private temporary folder.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

enum { kPackagePathCapacity = 1024 };

extern char PackagePath[kPackagePathCapacity];
extern char TempFolder[kPackagePathCapacity];
extern char ExtractedPath[kPackagePathCapacity];  // the file the last ExtractFile wrote (or meant to)

bool InitUnpacker(WindowHandle window, const char* packagePath, int32_t expectedSize, bool checkSize);
bool ExtractFile(WindowHandle window, const char* entryName);
void DeleteExtractedFile();
