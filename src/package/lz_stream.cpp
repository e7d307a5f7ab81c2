#include "package/lz_stream.h"

#include <sys/stat.h>


LZStream LZInput;
LZStream LZOutput;

static unsigned char InputBlock[kLZBlockSize];
static unsigned char OutputBlock[kLZBlockSize];

static void ResetStream(LZStream* stream, FILE* file, unsigned char* block) {
    *stream = {file, block, 0, 0, 0, false, -1};
}

void AttachLZInput(FILE* file) { ResetStream(&LZInput, file, InputBlock); }
void AttachLZOutput(FILE* file) { ResetStream(&LZOutput, file, OutputBlock); }

bool OpenLZInput(const char* path) {
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    AttachLZInput(file);
    return true;
}

bool CreateLZOutput(const char* path) {
    FILE* file = fopen(path, "wb");
    if (!file) return false;
    AttachLZOutput(file);
    return true;
}

void CloseLZInput() {
    if (LZInput.file) fclose(LZInput.file);
    LZInput.file = nullptr;
}

bool CloseLZOutput() {
    if (!LZOutput.file) return false;
    FlushLZOutput();
    if (fclose(LZOutput.file) != 0) LZOutput.failed = true;
    LZOutput.file = nullptr;
    return !LZOutput.failed;
}

void RemoveLZOutputFile(const char* path) {
    struct stat info;
    if (stat(path, &info) == 0 && S_ISREG(info.st_mode)) remove(path);
}

bool SeekLZInput(int64_t offset) {
    if (offset < 0 || fseeko(LZInput.file, (off_t)offset, SEEK_SET) != 0) return false;
    LZInput.done = offset;
    LZInput.pos = LZInput.len = 0;
    return true;
}

void LimitLZInput(int64_t end) { LZInput.end = end; }

int RefillLZInput() {
    if (!LZInput.file || LZInput.failed) return -1;
    LZInput.done += LZInput.len;
    LZInput.pos = 0;
    int64_t want = kLZBlockSize;
    if (LZInput.end >= 0 && LZInput.end - LZInput.done < want) want = LZInput.end - LZInput.done;
    if (want <= 0) {
        LZInput.len = 0;
        return -1;
    }
    LZInput.len = (int)fread(LZInput.block, 1, (size_t)want, LZInput.file);
    if (LZInput.len == 0) {
        LZInput.failed = ferror(LZInput.file) != 0;
        return -1;
    }
    return LZInput.block[LZInput.pos++];
}

void FlushLZOutput() {
    if (LZOutput.len == 0) return;
    if (!LZOutput.failed && fwrite(LZOutput.block, 1, LZOutput.len, LZOutput.file) != (size_t)LZOutput.len)
        LZOutput.failed = true;
    LZOutput.done += LZOutput.len;
    LZOutput.len = 0;
}
