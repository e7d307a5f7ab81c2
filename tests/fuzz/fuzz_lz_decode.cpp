// LZDecode on any stream: no read outside the ring, no hang, and never more than one match past
// the size asked for. With bit 7 of byte 2 set, the rest is encoded and must decode back.
// Input: bytes 0-1 the unpacked size, byte 2 the mode, then the stream.
#include "package/lz.h"
#include "package/lz_encode.h"
#include "package/lz_stream.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Decodes into memory, or into nothing when `out` is null; returns the decoded length.
static int64_t Decode(const uint8_t* stream, size_t size, int32_t unpackedSize, char** out, size_t* outSize) {
    FILE* in = fmemopen((void*)stream, size ? size : 1, "rb");
    FILE* sink = out ? open_memstream(out, outSize) : fopen("/dev/null", "wb");
    if (!in || !sink) abort();
    AttachLZInput(size ? in : nullptr);
    AttachLZOutput(sink);
    StartPumping();
    LZDecode(unpackedSize);
    int64_t length = LZOutputLength();
    CloseLZOutput();
    fclose(in);
    LZInput.file = nullptr;
    return length;
}

static void RoundTrip(const uint8_t* data, size_t size) {
    char* stream = nullptr;
    size_t streamSize = 0;
    FILE* in = fmemopen((void*)data, size ? size : 1, "rb");
    FILE* sink = open_memstream(&stream, &streamSize);
    if (!in || !sink) abort();
    AttachLZInput(size ? in : nullptr);
    AttachLZOutput(sink);
    StartPumping();
    LZEncode();
    CloseLZOutput();
    fclose(in);
    LZInput.file = nullptr;
    char* back = nullptr;
    size_t backSize = 0;
    Decode((const uint8_t*)stream, streamSize, (int32_t)size, &back, &backSize);
    if (backSize != size || (size && memcmp(back, data, size) != 0)) abort();
    free(stream);
    free(back);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    int32_t unpackedSize = data[0] | data[1] << 8;  // up to 64 KiB: room for 16 ring wraps
    if (data[2] & 0x80) {
        RoundTrip(data + 3, size - 3);
        return 0;
    }
    if (Decode(data + 3, size - 3, unpackedSize, nullptr, nullptr) > unpackedSize + 17) abort();
    return 0;
}
