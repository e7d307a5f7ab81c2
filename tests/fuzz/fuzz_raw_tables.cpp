// The raw colour tables ("sinscrol.raw", "ese.raw") as the show loads them: packed as an entry of
// a package whose record may claim more or less than its data, extracted, then read as colours.
// A failed extraction leaves no file; a read table holds only byte / 255 or the end-of-file value.
// Input: byte 0 bit 0 picks the table, bit 1 makes the record claim the table's full size
// (else the data's own length); the rest is the entry's data.
#include "effects/colour_table.h"
#include "package/package.h"
#include "platform/temp_folder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

static FILE* Quiet;
static float Colours[30000];

static void PutInt32(unsigned char* at, int32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = (unsigned char)((uint32_t)value >> (8 * i));
}

static void WritePackage(const std::string& path, const char* name, const uint8_t* data, int32_t size, int32_t claimed) {
    unsigned char header[kPackageHeaderSize] = {};
    memcpy(header, PackageIdentification, kIdentificationSize);
    PutInt32(header + kIdentificationSize, 1);
    unsigned char record[kPackageRecordSize] = {};
    snprintf((char*)record, kEntryNameField, "%s", name);
    PutInt32(record + 260, claimed);
    PutInt32(record + 264, claimed);
    FILE* file = fopen(path.c_str(), "wb");
    if (!file || fwrite(header, 1, sizeof header, file) != sizeof header ||
        fwrite(record, 1, sizeof record, file) != sizeof record || fwrite(data, 1, size, file) != (size_t)size ||
        fclose(file) != 0)
        abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string path;
    if (path.empty()) {
        setenv("KAMORA_MSGBOX", "stderr", 1);
        if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
        Quiet = fopen("/dev/null", "w");
        path = std::string(PrivateTempFolder()) + "/raw_tables.ppk";
    }
    if (size < 1 || size > 40000) return 0;
    bool picture = data[0] & 1;
    const char* name = picture ? "ese.raw" : "sinscrol.raw";
    int32_t count = picture ? 30000 : 9216;
    int32_t length = (int32_t)size - 1;
    WritePackage(path, name, data + 1, length, (data[0] & 2) ? count : length);
    InitUnpacker(nullptr, path.c_str(), 0, false);
    FILE* loud = stderr;
    stderr = Quiet;
    bool extracted = ExtractFile(nullptr, name);
    stderr = loud;
    if (!extracted) {
        if (access(ExtractedPath, F_OK) == 0) abort();
        return 0;
    }
    if (!ReadColourTable(Colours, count)) abort();
    for (int32_t i = 0; i < count; ++i)
        if (!(Colours[i] >= -0.0040f && Colours[i] <= 1.0f)) abort();
    if (access(ExtractedPath, F_OK) == 0) abort();  // the table's file is deleted once read
    return 0;
}
