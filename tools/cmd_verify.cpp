// kamora-tool verify: walks every record and decodes every entry; exit 0 only for a sound package.
#include "lib/package_tool.h"
#include "package/lz.h"
#include "package/lz_stream.h"
#include "tool_commands.h"

#include <cstring>

// Decodes one LZ entry and says what is wrong with its stream, or returns "".
static std::string CheckStream(const char* path, const PackageRecord& record) {
    FILE* sink = fopen("/dev/null", "wb");
    if (!sink || !OpenLZInput(path)) {
        if (sink) fclose(sink);
        return "cannot be read";
    }
    AttachLZOutput(sink);
    StartPumping();
    SeekLZInput(record.dataOffset);
    LZDecode(record.unpackedSize);
    int64_t produced = LZOutputLength();
    int64_t used = LZInputPosition() - record.dataOffset;
    CloseLZInput();
    CloseLZOutput();
    char what[160];
    what[0] = 0;
    if (used > record.packedSize)
        snprintf(what, sizeof what, "stream runs %lld bytes past its packed size", (long long)(used - record.packedSize));
    else if (produced < record.unpackedSize)
        snprintf(what, sizeof what, "stream too short: it decodes to %lld of %d bytes", (long long)produced,
                 record.unpackedSize);
    else if (produced > record.unpackedSize)
        snprintf(what, sizeof what, "stream decodes to %lld bytes, more than its %d", (long long)produced,
                 record.unpackedSize);
    else if (used < record.packedSize)
        snprintf(what, sizeof what, "stream leaves %lld of its bytes unused", (long long)(record.packedSize - used));
    return what;
}

// The first problem of one record that the walk itself does not catch, or "".
static std::string CheckRecord(const char* path, const std::vector<PackageRecord>& records, int index) {
    const PackageRecord& record = records[index];
    if (!record.nameTerminated) return "name has no zero byte within its 260 bytes";
    if (!record.name[0]) return "empty name";
    for (int j = 0; j < index; ++j)
        if (strcmp(records[j].name, record.name) == 0) return "duplicate name (entry " + std::to_string(j) + ")";
    return record.flag == 1 ? CheckStream(path, record) : "";
}

static int Report(const std::string& problem) {
    fprintf(stderr, "kamora-tool verify: %s\n", problem.c_str());
    return 1;
}

static int RunVerify(int argc, char** argv) {
    if (WantsHelp(argc, argv) || argc != 2) {
        bool help = WantsHelp(argc, argv);
        fprintf(help ? stdout : stderr,
                "usage: kamora-tool verify PKG\n\n"
                "Walks every record and decodes every entry. Reports the first problem (identification,\n"
                "a record or data cut short, sizes out of range, a stream too short or too long, a\n"
                "duplicate name, trailing bytes) with its entry and offset. Exits 0 only for a sound package.\n");
        return help ? 0 : 2;
    }
    const char* path = argv[1];
    std::vector<PackageRecord> records;
    std::string walkProblem;
    bool walked = ReadPackageIndex(path, &records, &walkProblem);
    for (int i = 0; i < (int)records.size(); ++i) {
        std::string what = CheckRecord(path, records, i);
        if (!what.empty()) return Report(DescribeProblem(path, records[i], i, what.c_str()));
    }
    if (!walked) return Report(walkProblem);
    FILE* file = fopen(path, "rb");
    int64_t length = file ? FileLength(file) : -1;
    if (file) fclose(file);
    int64_t end = records.empty() ? (int64_t)kPackageHeaderSize : records.back().dataOffset + records.back().dataSize;
    if (length != end)
        return Report(std::string(path) + ": " + std::to_string(length - end) + " trailing bytes at offset " +
                      std::to_string(end));
    printf("%s: sound, %d entries\n", path, (int)records.size());
    return 0;
}

static ToolCommand Verify("verify", "check a package entry by entry", RunVerify);
