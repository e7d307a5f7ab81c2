#include "lib/package_tool.h"

#include "platform/process.h"

#include <cstdlib>
#include <cstring>

void SendMessagesToStderr() { SetEnvironmentValue("KAMORA_MSGBOX", "stderr", true); }

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

std::string DescribeProblem(const char* path, const PackageRecord& record, int index, const char* what) {
    char text[kEntryNameField + 256];
    snprintf(text, sizeof text, ": entry %d '%s' at offset %lld: %s", index, record.name,
             (long long)record.recordOffset, what);
    return path + std::string(text);
}

static bool ReadRecords(FILE* file, const char* path, int32_t count, std::vector<PackageRecord>* records,
                        std::string* problem) {
    int64_t offset = kPackageHeaderSize;
    int64_t length = FileLength(file);
    for (int32_t i = 0; i < count; ++i) {
        PackageRecord record;
        if (!ReadPackageRecord(file, offset, &record)) {
            *problem = path + (": entry " + std::to_string(i) + ": record at offset " + std::to_string(offset) +
                               " is cut short");
            return false;
        }
        const char* what = !PackageRecordWalkable(&record)                       ? "sizes out of range"
                           : record.dataOffset + record.dataSize > length ? "data is cut short"
                                                                                 : nullptr;
        if (what) {
            *problem = DescribeProblem(path, record, i, what);
            return false;
        }
        records->push_back(record);
        offset = record.dataOffset + record.dataSize;
    }
    return true;
}

bool ReadPackageIndex(const char* path, std::vector<PackageRecord>* records, std::string* problem) {
    records->clear();
    FILE* file = fopen(path, "rb");
    if (!file) {
        *problem = path + std::string(": cannot be opened");
        return false;
    }
    bool identified = false;
    int32_t count = 0;
    const char* what = !ReadPackageHeader(file, &identified, &count) ? "header is cut short (under 32 bytes)"
                       : !identified                                 ? "not a package (bad identification)"
                       : count < 0                                   ? "negative entry count"
                                                                     : nullptr;
    bool ok = !what && ReadRecords(file, path, count, records, problem);
    if (what) *problem = path + (": " + std::string(what));
    fclose(file);
    return ok;
}
