// The package file: every asset of the show, unpacked on demand into the private temporary folder.
//
// Layout (little-endian): a 32-byte header, the identification "Vardenix Compressed Package" with
// its zero byte and the signed entry count; then per entry a 272-byte record (name field of 260
// bytes, unpacked size, packed size, compression flag, 3 unused bytes) directly followed by the
// entry's data: its LZ stream of `packedSize` bytes when the flag is 1, else its `unpackedSize`
// bytes as they are.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>
#include <cstdio>

enum { kPackagePathCapacity = 1024 };

extern char PackagePath[kPackagePathCapacity];
extern char TempFolder[kPackagePathCapacity];
extern char ExtractedPath[kPackagePathCapacity];  // the file the last ExtractFile wrote (or meant to)

bool InitUnpacker(WindowHandle window, const char* packagePath, int32_t expectedSize, bool checkSize);
bool ExtractFile(WindowHandle window, const char* entryName);
void DeleteExtractedFile();

// The record walk, shared with the toolbox.
enum { kPackageHeaderSize = 32, kPackageRecordSize = 272, kEntryNameField = 260, kIdentificationSize = 28 };
extern const char PackageIdentification[kIdentificationSize];  // "Vardenix Compressed Package"

struct PackageRecord {
    char name[kEntryNameField];  // zero-terminated: a field without a zero byte gives 259 characters
    bool nameTerminated;         // the field held a zero byte of its own
    int32_t unpackedSize;
    int32_t packedSize;
    uint8_t flag;                // 1: LZ stream
    int64_t recordOffset;
    int64_t dataOffset;
    int64_t dataSize;            // packed size for LZ streams, else unpacked size
};

// Reads the 32-byte header; false when the file is shorter. `identified` tells whether the
// identification (with its zero byte) is there.
bool ReadPackageHeader(FILE* file, bool* identified, int32_t* entryCount);
// Reads the record at `offset`; false when it cannot be read in full.
bool ReadPackageRecord(FILE* file, int64_t offset, PackageRecord* record);
// False for a record the walk must not follow: a negative size, or data that would reach past
// what a signed 32-bit offset can address.
bool PackageRecordWalkable(const PackageRecord* record);
