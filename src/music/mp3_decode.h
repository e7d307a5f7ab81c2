// MP3 decoding over libmpg123: a whole file to 16-bit PCM in memory, in the file's own sample
// rate and channel count. The music position counts bytes of exactly this PCM.
#pragma once

#include <cstdint>

struct DecodedPcm {
    uint8_t* data;     // interleaved signed 16-bit samples, native byte order
    uint32_t length;   // bytes of decoded audio, a whole number of sample frames
    int rate;          // sample frames a second
    int channels;      // 1 or 2
    int blockAlign;    // bytes of one sample frame (2 * channels)
};

// Decodes the file at `path` into `pcm`. Returns 0 on success or the sound error code: 2 the file
// cannot be opened, 6 it holds no MP3 audio, 1 out of memory. On failure `pcm` is left empty.
int DecodeMp3File(const char* path, DecodedPcm* pcm);
void FreeDecodedPcm(DecodedPcm* pcm);

// Bytes a second of `pcm` (176400 for 44.1 kHz 16-bit stereo).
uint32_t PcmBytesPerSecond(const DecodedPcm* pcm);
