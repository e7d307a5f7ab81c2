#include "music/mp3_decode.h"

#include <mpg123.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Decoded audio beyond this would not fit the 32-bit byte position with room to spare (3.3 hours
// of 44.1 kHz stereo), so such a file is refused as too big to hold.
static const uint32_t kMaxDecodedBytes = 0x7FFFFFFFu;
static const size_t kFirstCapacity = 1u << 20;

static mpg123_handle* NewDecoder() {
    // Before libmpg123 1.27 no decoder works until the library is set up (later it is a no-op).
    static const bool LibraryReady = mpg123_init() == MPG123_OK;
    if (!LibraryReady) return nullptr;
    int error = MPG123_OK;
    mpg123_handle* decoder = mpg123_new(nullptr, &error);
    if (!decoder) return nullptr;
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // Only 16-bit output, at whatever rate and channel count the file has.
    mpg123_format_none(decoder);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    return decoder;
}

static bool GrowBuffer(DecodedPcm* pcm, size_t* capacity, size_t needed) {
    if (needed <= *capacity) return true;
    size_t next = *capacity ? *capacity : kFirstCapacity;
    while (next < needed) next *= 2;
    uint8_t* data = (uint8_t*)realloc(pcm->data, next);
    if (!data) return false;
    pcm->data = data;
    *capacity = next;
    return true;
}

// Records the output format on the first format report; a later change of rate or channels
// (a file glued from two encodings) ends the audio there, since one stream has one format.
static bool AcceptFormat(mpg123_handle* decoder, DecodedPcm* pcm) {
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(decoder, &rate, &channels, &encoding) != MPG123_OK) return false;
    if (pcm->rate == 0) {
        pcm->rate = (int)rate;
        pcm->channels = channels;
        pcm->blockAlign = 2 * channels;
        return true;
    }
    return pcm->rate == rate && pcm->channels == channels;
}

// Reads decoded audio until the end of the file. Damage after some good audio ends the audio
// there (a truncated download still plays what it has); returns 0 or an error code.
static int ReadAllFrames(mpg123_handle* decoder, DecodedPcm* pcm) {
    size_t capacity = 0;
    size_t length = 0;
    for (;;) {
        if (!GrowBuffer(pcm, &capacity, length + 65536)) return 1;
        size_t done = 0;
        int result = mpg123_read(decoder, pcm->data + length, capacity - length, &done);
        length += done;
        if (length > kMaxDecodedBytes) return 1;
        if (result == MPG123_NEW_FORMAT) {
            if (!AcceptFormat(decoder, pcm)) break;
            continue;
        }
        if (result != MPG123_OK) break;  // MPG123_DONE, or damage
    }
    if (pcm->rate == 0 || pcm->blockAlign == 0) return 6;
    length -= length % pcm->blockAlign;
    if (length == 0) return 6;
    pcm->length = (uint32_t)length;
    return 0;
}

int DecodeMp3File(const char* path, DecodedPcm* pcm) {
    memset(pcm, 0, sizeof *pcm);
    FILE* probe = path ? fopen(path, "rb") : nullptr;
    if (!probe) return 2;
    fclose(probe);
    mpg123_handle* decoder = NewDecoder();
    if (!decoder) return 1;
    int code = 2;
    if (mpg123_open(decoder, path) == MPG123_OK) {
        code = ReadAllFrames(decoder, pcm);
        mpg123_close(decoder);
    }
    mpg123_delete(decoder);
    if (code != 0) FreeDecodedPcm(pcm);
    return code;
}

void FreeDecodedPcm(DecodedPcm* pcm) {
    free(pcm->data);
    memset(pcm, 0, sizeof *pcm);
}

uint32_t PcmBytesPerSecond(const DecodedPcm* pcm) { return (uint32_t)(pcm->rate * pcm->blockAlign); }
