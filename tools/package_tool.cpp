#include "package_tool.h"

#include <cstdlib>
#include <cstring>

void SendMessagesToStderr() { setenv("KAMORA_MSGBOX", "stderr", 1); }

const char* BaseName(const char* path) {
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

int64_t FileLength(FILE* file) {
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    int64_t length = ftello(file);
    return fseeko(file, 0, SEEK_SET) == 0 ? length : -1;
}

bool CopyBytes(FILE* in, FILE* out, int64_t count) {
    static char block[64 * 1024];
    while (count > 0) {
        size_t want = count < (int64_t)sizeof block ? (size_t)count : sizeof block;
        size_t got = fread(block, 1, want, in);
        if (got == 0 || fwrite(block, 1, got, out) != got) return false;
        count -= (int64_t)got;
    }
    return true;
}

bool IsPlainFileName(const char* name) {
    return name[0] && !strchr(name, '/') && strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}

static bool Problem(const char* path, const char* what, const PackageRecord* record, int32_t index) {
    if (record)
        fprintf(stderr, "%s: entry %d '%s' at offset %lld: %s\n", path, index, record->name,
                (long long)record->recordOffset, what);
    else
        fprintf(stderr, "%s: %s\n", path, what);
    return false;
}

static bool ReadRecords(FILE* file, const char* path, int32_t count, std::vector<PackageRecord>* records) {
    int64_t offset = kPackageHeaderSize;
    int64_t length = FileLength(file);
    char what[128];
    for (int32_t i = 0; i < count; ++i) {
        PackageRecord record;
        if (!ReadPackageRecord(file, offset, &record)) {
            snprintf(what, sizeof what, "entry %d: record at offset %lld is cut short", i, (long long)offset);
            return Problem(path, what, nullptr, i);
        }
        if (!PackageRecordWalkable(&record)) return Problem(path, "sizes out of range", &record, i);
        if (record.dataOffset + record.dataSize > length) return Problem(path, "data is cut short", &record, i);
        records->push_back(record);
        offset = record.dataOffset + record.dataSize;
    }
    return true;
}

bool ReadPackageIndex(const char* path, std::vector<PackageRecord>* records) {
    records->clear();
    FILE* file = fopen(path, "rb");
    if (!file) return Problem(path, "cannot be opened", nullptr, 0);
    bool identified = false;
    int32_t count = 0;
    bool ok = ReadPackageHeader(file, &identified, &count);
    if (!ok) Problem(path, "header is cut short (under 32 bytes)", nullptr, 0);
    else if (!identified) ok = Problem(path, "not a package (bad identification)", nullptr, 0);
    else if (count < 0) ok = Problem(path, "negative entry count", nullptr, 0);
    else ok = ReadRecords(file, path, count, records);
    fclose(file);
    return ok;
}
