// A stand-in ffmpeg.exe for the Windows build's capture under Wine: it opens its second input (the
// path after the second "-i"), reads it and its standard input to their ends side by side, as
// ffmpeg does, and writes "video BYTES audio BYTES" into its output (the last argument, after
// "file:"). With KAMORA_FAKE_FFMPEG=hang it hangs instead once its inputs have ended, writing
// nothing, as an ffmpeg stuck on a hung share would.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <thread>
#include <windows.h>

static long long CountToEnd(FILE* input) {
    static thread_local char buffer[1 << 16];
    long long total = 0;
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, input)) > 0;) total += (long long)n;
    return total;
}

int main(int argc, char** argv) {
    const char* second = nullptr;
    for (int i = 1, inputs = 0; i + 1 < argc; ++i)
        if (!strcmp(argv[i], "-i") && ++inputs == 2) second = argv[i + 1];
    FILE* audio = second ? fopen(second, "rb") : nullptr;
    if (!audio) {
        fprintf(stderr, "fake ffmpeg: cannot open the second input %s\n", second ? second : "(none given)");
        return 1;
    }
    _setmode(_fileno(stdin), _O_BINARY);
    long long audioBytes = 0;
    std::thread reader([&] { audioBytes = CountToEnd(audio); });
    const long long videoBytes = CountToEnd(stdin);
    reader.join();
    const char* hang = getenv("KAMORA_FAKE_FFMPEG");
    while (hang && !strcmp(hang, "hang")) Sleep(1000);
    const char* output = argv[argc - 1];
    if (!strncmp(output, "file:", 5)) output += 5;
    FILE* file = fopen(output, "wb");
    if (!file || fprintf(file, "video %lld audio %lld\n", videoBytes, audioBytes) < 0 || fclose(file) != 0) return 1;
    return 0;
}
