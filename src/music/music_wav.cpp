#include "music/music_wav.h"

#include "music/sound_backend.h"

#include <cstdio>
#include <cstring>

static void PutLittle(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = (uint8_t)(value >> (8 * i));
}

static void BuildWavHeader(uint8_t header[44], const DecodedPcm* pcm, uint32_t dataBytes) {
    memcpy(header, "RIFF", 4);
    PutLittle(header + 4, 36 + dataBytes, 4);
    memcpy(header + 8, "WAVEfmt ", 8);
    PutLittle(header + 16, 16, 4);
    PutLittle(header + 20, 1, 2);  // integer PCM
    PutLittle(header + 22, (uint32_t)pcm->channels, 2);
    PutLittle(header + 24, (uint32_t)pcm->rate, 4);
    PutLittle(header + 28, PcmBytesPerSecond(pcm), 4);
    PutLittle(header + 32, (uint32_t)pcm->blockAlign, 2);
    PutLittle(header + 34, 16, 2);
    memcpy(header + 36, "data", 4);
    PutLittle(header + 40, dataBytes, 4);
}

// WAV samples are little-endian; the decoder gives them in the machine's order.
static bool WriteSamples(FILE* file, const uint8_t* data, uint32_t bytes) {
    const uint16_t probe = 1;
    if (*(const uint8_t*)&probe == 1) return fwrite(data, 1, bytes, file) == bytes;
    for (uint32_t i = 0; i + 1 < bytes; i += 2) {
        uint8_t pair[2] = {data[i + 1], data[i]};
        if (fwrite(pair, 1, 2, file) != 2) return false;
    }
    return true;
}

bool WriteMusicWav(uint32_t stream, uint32_t fromByte, uint32_t toByte, const char* path) {
    const DecodedPcm* pcm = SoundStreamPcm(stream);
    if (!pcm || !path || toByte < fromByte) return false;
    if (toByte > pcm->length) toByte = pcm->length;
    if (fromByte > toByte) fromByte = toByte;
    fromByte -= fromByte % pcm->blockAlign;
    toByte -= toByte % pcm->blockAlign;
    uint8_t header[44];
    BuildWavHeader(header, pcm, toByte - fromByte);
    FILE* file = fopen(path, "wb");
    if (!file) return false;
    bool ok = fwrite(header, 1, sizeof header, file) == sizeof header &&
              WriteSamples(file, pcm->data + fromByte, toByte - fromByte);
    if (fclose(file) != 0) ok = false;
    if (!ok) remove(path);
    return ok;
}
