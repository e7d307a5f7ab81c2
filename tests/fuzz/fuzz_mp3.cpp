// Any bytes as a music file: decoding must fail with a code or give whole sample frames, never
// read or write outside its buffers.
#include "music/mp3_decode.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static char path[64];
    if (!path[0]) snprintf(path, sizeof path, "fuzz_mp3_input_%d.mp3", (int)getpid());
    FILE* file = fopen(path, "wb");
    if (!file) return 0;
    fwrite(data, 1, size, file);
    fclose(file);
    DecodedPcm pcm;
    int code = DecodeMp3File(path, &pcm);
    if (code == 0 && (pcm.length == 0 || pcm.length % pcm.blockAlign != 0 || !pcm.data)) abort();
    if (code != 0 && pcm.data) abort();
    FreeDecodedPcm(&pcm);
    remove(path);
    return 0;
}
