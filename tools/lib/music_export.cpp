#include "lib/music_export.h"

#include <cstdio>
#include <vector>

static void PutLE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back((uint8_t)(v >> (8 * i)));
}

bool WriteWav(const std::string& path, const int16_t* samples, size_t frames, int channels, int rate) {
    const uint32_t data = (uint32_t)(frames * channels * 2);
    std::vector<uint8_t> header;
    header.insert(header.end(), {'R', 'I', 'F', 'F'});
    PutLE(header, 36 + data, 4);
    header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLE(header, 16, 4);
    PutLE(header, 1, 2);  // PCM
    PutLE(header, channels, 2);
    PutLE(header, rate, 4);
    PutLE(header, rate * channels * 2, 4);
    PutLE(header, channels * 2, 2);
    PutLE(header, 16, 2);
    header.insert(header.end(), {'d', 'a', 't', 'a'});
    PutLE(header, data, 4);
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = fwrite(header.data(), 1, header.size(), file) == header.size() &&
              fwrite(samples, 2, frames * channels, file) == frames * channels;
    return (fclose(file) == 0) && ok;
}

// Until the sound back end can hand out decoded PCM, the span is written as silence of the
// right length (44.1 kHz stereo), so captures keep their timing.
bool ExportMusicSpan(int64_t firstFrame, int64_t endFrame, int fps, const std::string& path) {
    const int rate = 44100;
    size_t frames = (size_t)((endFrame * rate) / fps - (firstFrame * rate) / fps);
    std::vector<int16_t> silence(frames * 2, 0);
    return WriteWav(path, silence.data(), frames, 2, rate);
}
