// The record walk and the extraction on any package: every name the walk meets (and one it does
// not) is looked up and extracted. No crash, no hang, no read past a buffer, and a failed
// extraction leaves no file behind.
#include "package/package.h"
#include "platform/temp_folder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// Every damaged package shows a message box, which the stderr mode prints: keep the log small.
static FILE* Quiet;

static void TryExtract(const char* name) {
    FILE* loud = stderr;
    stderr = Quiet;
    bool ok = ExtractFile(nullptr, name);
    stderr = loud;
    if (!ok && access(ExtractedPath, F_OK) == 0) abort();
    DeleteExtractedFile();
}

// Names a loader could ask for: no folder parts.
static bool IsSafeName(const char* name) {
    return name[0] && !strchr(name, '/') && strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::string path;
    if (path.empty()) {
        setenv("KAMORA_MSGBOX", "stderr", 1);
        if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);  // spare the disk
        Quiet = fopen("/dev/null", "w");
        path = std::string(PrivateTempFolder()) + "/fuzz.ppk";
    }
    FILE* file = fopen(path.c_str(), "wb");
    if (!file || fwrite(data, 1, size, file) != size || fclose(file) != 0) abort();
    InitUnpacker(nullptr, path.c_str(), 0, false);

    file = fopen(path.c_str(), "rb");
    bool identified = false;
    int32_t count = 0;
    std::string names[4];
    int found = 0;
    if (ReadPackageHeader(file, &identified, &count)) {
        int64_t offset = kPackageHeaderSize;
        PackageRecord record;
        for (int i = 0; i < count && found < 4 && ReadPackageRecord(file, offset, &record); ++i) {
            if (IsSafeName(record.name)) names[found++] = record.name;
            if (!PackageRecordWalkable(&record)) break;
            offset = record.dataOffset + record.dataSize;
        }
    }
    fclose(file);
    for (int i = 0; i < found; ++i) TryExtract(names[i].c_str());
    TryExtract("missing.raw");
    return 0;
}
