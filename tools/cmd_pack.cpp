// kamora-tool pack: writes a package from files, one entry per file named by its base name.
#include "package/lz_encode.h"
#include "lib/package_tool.h"
#include "platform/files.h"
#include "platform/temp_folder.h"
#include "tool_commands.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

static int Usage(FILE* out) {
    fprintf(out, "usage: kamora-tool pack [--store] OUT.ppk FILE...\n\n"
                 "Writes a package with one entry per FILE, named by the file's base name. Each entry is\n"
                 "LZ-compressed when that makes it smaller, stored otherwise; --store stores every entry.\n"
                 "OUT.ppk is replaced only when the whole package has been written.\n");
    return out == stdout ? 0 : 2;
}

static void PutInt32(unsigned char* at, int32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = (unsigned char)((uint32_t)value >> (8 * i));
}

static bool WriteHeader(FILE* out, int32_t count) {
    unsigned char header[kPackageHeaderSize] = {};
    memcpy(header, PackageIdentification, kIdentificationSize);
    PutInt32(header + kIdentificationSize, count);
    return fwrite(header, 1, sizeof header, out) == sizeof header;
}

static bool WriteRecord(FILE* out, const char* name, int32_t unpackedSize, int32_t dataSize, bool compressed) {
    unsigned char record[kPackageRecordSize] = {};
    memcpy(record, name, strlen(name));
    PutInt32(record + 260, unpackedSize);
    PutInt32(record + 264, dataSize);
    record[268] = compressed ? 1 : 0;
    return fwrite(record, 1, sizeof record, out) == sizeof record;
}

static bool CheckNames(int count, char** files) {
    for (int i = 0; i < count; ++i) {
        const char* name = BaseName(files[i]);
        if (!IsPlainFileName(name) || strlen(name) >= kEntryNameField) {
            fprintf(stderr, "kamora-tool pack: '%s' does not give an entry name of 1 to 259 characters\n", files[i]);
            return false;
        }
        for (int j = 0; j < i; ++j)
            if (strcmp(name, BaseName(files[j])) == 0) {
                fprintf(stderr, "kamora-tool pack: '%s' and '%s' would both be entry '%s'\n", files[j], files[i], name);
                return false;
            }
    }
    return true;
}

// Appends one entry: the LZ stream when it is smaller (and allowed), else the bytes as they are.
static bool AppendEntry(FILE* out, const char* path, bool store, const std::string& scratch) {
    FILE* source = fopen(path, "rb");
    int64_t size = source ? FileLength(source) : -1;
    if (size < 0 || size > INT32_MAX) {
        fprintf(stderr, "kamora-tool pack: cannot read '%s'%s\n", path, size > INT32_MAX ? " (over 2 GiB)" : "");
        if (source) fclose(source);
        return false;
    }
    bool ok;
    if (!store && CompressFile(nullptr, path, scratch.c_str()) == LZ_SMALLER) {
        FILE* packed = fopen(scratch.c_str(), "rb");
        int64_t packedSize = packed ? FileLength(packed) : -1;
        ok = packedSize >= 0 && WriteRecord(out, BaseName(path), (int32_t)size, (int32_t)packedSize, true) &&
             CopyBytes(packed, out, packedSize);
        if (packed) fclose(packed);
    } else {
        ok = WriteRecord(out, BaseName(path), (int32_t)size, (int32_t)size, false) && CopyBytes(source, out, size);
    }
    fclose(source);
    remove(scratch.c_str());
    if (!ok) fprintf(stderr, "kamora-tool pack: writing entry '%s' failed\n", BaseName(path));
    return ok;
}

static bool WritePackage(FILE* out, int count, char** files, bool store) {
    const char* folder = PrivateTempFolder();
    if (!folder) {
        fprintf(stderr, "kamora-tool pack: no temporary folder\n");
        return false;
    }
    std::string scratch = std::string(folder) + "/pack.lz";
    if (!WriteHeader(out, count)) return false;
    for (int i = 0; i < count; ++i) {
        if (!AppendEntry(out, files[i], store, scratch)) return false;
        if (ftello(out) > INT32_MAX) {
            fprintf(stderr, "kamora-tool pack: the package would pass 2 GiB\n");
            return false;
        }
    }
    return true;
}

// mkstemp makes the file private; a package gets the usual permissions.
static void UseDefaultPermissions(const char* path) {
    mode_t mask = umask(0);
    umask(mask);
    chmod(path, 0666 & ~mask);
}

static int RunPack(int argc, char** argv) {
    if (WantsHelp(argc, argv)) return Usage(stdout);
    bool store = false;
    std::vector<char*> args;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--store") == 0) store = true;
        else if (argv[i][0] == '-' && argv[i][1]) return Usage(stderr);
        else args.push_back(argv[i]);
    }
    if (args.size() < 2) return Usage(stderr);
    SendMessagesToStderr();
    const char* outPath = args[0];
    int count = (int)args.size() - 1;
    char** files = args.data() + 1;
    if (!CheckNames(count, files)) return 1;
    // Written beside OUT and renamed over it at the end, so a failed pack leaves OUT alone.
    std::string temp = std::string(outPath) + ".XXXXXX";
    int fd = mkstemp(temp.data());
    FILE* out = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!out) {
        fprintf(stderr, "kamora-tool pack: cannot create a file beside '%s'\n", outPath);
        if (fd >= 0) close(fd), remove(temp.c_str());
        return 1;
    }
    bool ok = WritePackage(out, count, files, store);
    ok = (fclose(out) == 0) && ok;
    if (ok) UseDefaultPermissions(temp.c_str());
    if (!ok || !MoveFileOver(temp.c_str(), outPath)) {
        if (ok) fprintf(stderr, "kamora-tool pack: cannot write '%s'\n", outPath);
        remove(temp.c_str());
        return 1;
    }
    return 0;
}

static ToolCommand Pack("pack", "write a package from files", RunPack);
