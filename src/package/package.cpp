#include "package/package.h"

#include "package/lz.h"
#include "platform/temp_folder.h"

#include <cstring>

char PackagePath[kPackagePathCapacity];
char TempFolder[kPackagePathCapacity];
char ExtractedPath[kPackagePathCapacity];

const char PackageIdentification[kIdentificationSize] = "Vardenix Compressed Package";
static const char kDemoTitle[] = "Ka Mora - Vardenix (Party)";
static const char kPathLimitText[] = "Set TMPDIR to a shorter folder (paths up to 1023 characters).";
static_assert(kPackagePathCapacity == 1024, "kPathLimitText names the longest path that fits");

enum { kMessageCapacity = 2 * kPackagePathCapacity + 256 };

static bool Fail(WindowHandle window, const char* caption, const char* format, const char* a, const char* b = "") {
    char text[kMessageCapacity];
    snprintf(text, sizeof text, format, a, b);
    ShowMessageBox(window, text, caption, MB_OK | MB_ICONERROR);
    return false;
}

static int32_t ReadInt32(const unsigned char* bytes) {
    return (int32_t)((uint32_t)bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 | (uint32_t)bytes[3] << 24);
}

bool ReadPackageHeader(FILE* file, bool* identified, int32_t* entryCount) {
    unsigned char header[kPackageHeaderSize];
    if (fseeko(file, 0, SEEK_SET) != 0 || fread(header, 1, sizeof header, file) != sizeof header) return false;
    *identified = memcmp(header, PackageIdentification, kIdentificationSize) == 0;
    *entryCount = ReadInt32(header + kIdentificationSize);
    return true;
}

bool ReadPackageRecord(FILE* file, int64_t offset, PackageRecord* record) {
    unsigned char bytes[kPackageRecordSize];
    if (fseeko(file, (off_t)offset, SEEK_SET) != 0 || fread(bytes, 1, sizeof bytes, file) != sizeof bytes)
        return false;
    // A name field without its zero byte is read as its first 259 characters, never past it.
    memcpy(record->name, bytes, kEntryNameField - 1);
    record->name[kEntryNameField - 1] = 0;
    record->nameTerminated = memchr(bytes, 0, kEntryNameField) != nullptr;
    record->unpackedSize = ReadInt32(bytes + 260);
    record->packedSize = ReadInt32(bytes + 264);
    record->flag = bytes[268];
    record->recordOffset = offset;
    record->dataOffset = offset + kPackageRecordSize;
    record->dataSize = record->flag == 1 ? record->packedSize : record->unpackedSize;
    return true;
}

bool PackageRecordWalkable(const PackageRecord* record) {
    return record->unpackedSize >= 0 && record->dataSize >= 0 &&
           record->dataOffset + record->dataSize <= INT32_MAX;
}

// Copies `text` whole, or leaves `to` empty: a cut path would name some other file.
static bool CopyPath(char* to, const char* text) {
    bool fits = strlen(text) < kPackagePathCapacity;
    snprintf(to, kPackagePathCapacity, "%s", fits ? text : "");
    return fits;
}

bool InitUnpacker(WindowHandle window, const char* packagePath, int32_t expectedSize, bool checkSize) {
    snprintf(PackagePath, sizeof PackagePath, "%s", packagePath);
    const char* folder = PrivateTempFolder();
    CopyPath(TempFolder, folder ? folder : "");  // one too long is refused by ExtractFile
    if (!checkSize) return true;
    FILE* file = fopen(PackagePath, "rb");
    if (!file) return Fail(window, "InitUnpacker Error", "Unable to open package '%s'!", PackagePath);
    int64_t size = fseeko(file, 0, SEEK_END) == 0 ? (int64_t)ftello(file) : -1;
    fclose(file);
    if (size != expectedSize)
        return Fail(window, "InitUnpacker Error",
                    "Package file '%s' not valid\nMaybe corrupt or not original file for demo '%s'",
                    PackagePath, kDemoTitle);
    return true;
}

// Walks the records from the start; the first record named `entryName` wins. False when the
// package does not hold it, including when a record is cut short or cannot be walked.
static bool FindEntry(FILE* file, const char* entryName, int32_t count, PackageRecord* record) {
    int64_t offset = kPackageHeaderSize;
    for (int32_t i = 0; i < count; ++i) {
        if (!ReadPackageRecord(file, offset, record) || !PackageRecordWalkable(record)) return false;
        if (strcmp(record->name, entryName) == 0) return true;
        offset = record->dataOffset + record->dataSize;
    }
    return false;
}

bool ExtractFile(WindowHandle window, const char* entryName) {
    if (!TempFolder[0]) {
        // Never fall back to a shared folder, where another user could plant a link.
        const char* folder = PrivateTempFolder();
        if (!folder) return Fail(window, "Extract file Error", "No private temporary folder for %s!", entryName);
        if (!CopyPath(TempFolder, folder))
            return Fail(window, "Extract file Error", "The temporary folder's path is too long for %s!\n%s",
                        entryName, kPathLimitText);
    }
    if (snprintf(ExtractedPath, sizeof ExtractedPath, "%s/%s", TempFolder, entryName) >= (int)sizeof ExtractedPath) {
        ExtractedPath[0] = 0;  // nothing is written, and nothing is deleted, under a cut name
        return Fail(window, "Extract file Error", "The temporary file's path is too long for %s!\n%s", entryName,
                    kPathLimitText);
    }
    FILE* file = fopen(PackagePath, "rb");
    if (!file) return Fail(window, "Extract file Error", "Package file '%s' not found!.\n", PackagePath);
    bool identified = false;
    int32_t count = 0;
    if (!ReadPackageHeader(file, &identified, &count)) {
        fclose(file);
        ShowMessageBox(window, "Error reading package indentification!.\nPlease report this bug with error code 10",
                       "Pack Info Error", MB_OK | MB_ICONERROR);
        return false;
    }
    PackageRecord record;
    bool found = identified && FindEntry(file, entryName, count, &record);
    fclose(file);
    if (!found) return Fail(window, "Unpacker Error", "File %s not found in package!", entryName);
    int32_t offset = (int32_t)record.dataOffset;
    if (record.flag == 1)
        return ExtractCompressedEntry(window, PackagePath, ExtractedPath, offset, record.packedSize,
                                      record.unpackedSize);
    return ExtractStoredEntry(window, PackagePath, ExtractedPath, offset, record.unpackedSize);
}

void DeleteExtractedFile() { remove(ExtractedPath); }
