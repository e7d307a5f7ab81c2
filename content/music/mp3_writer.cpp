#include "mp3_writer.h"

#include <algorithm>
#include <cstdio>
#include <lame/lame.h>
#include <string>

static lame_t OpenEncoder(int rate, int kbps) {
    lame_t lame = lame_init();
    if (!lame) return nullptr;
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);  // the Info frame that carries the gapless figures
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return nullptr;
    }
    return lame;
}

static bool EncodeAll(lame_t lame, FILE* file, const std::vector<float>& left,
                      const std::vector<float>& right) {
    const int chunk = 44100;
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    size_t total = left.size();
    int lastTenth = -1;
    for (size_t start = 0; start < total; start += chunk) {
        int count = (int)std::min<size_t>(chunk, total - start);
        int bytes = lame_encode_buffer_ieee_float(lame, &left[start], &right[start], count, buffer.data(),
                                                  (int)buffer.size());
        if (bytes < 0 || fwrite(buffer.data(), 1, bytes, file) != (size_t)bytes) return false;
        int tenth = (int)((start + count) * 10 / total);
        if (tenth != lastTenth && tenth % 2 == 0) {
            printf("music: encoding %d%%\n", tenth * 10);
            fflush(stdout);
            lastTenth = tenth;
        }
    }
    int bytes = lame_encode_flush(lame, buffer.data(), (int)buffer.size());
    if (bytes < 0 || fwrite(buffer.data(), 1, bytes, file) != (size_t)bytes) return false;
    // LAME reserved the first frame for the tag; now that the stream is known, fill it in.
    size_t tagSize = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
    if (tagSize == 0 || tagSize > buffer.size()) return false;
    return fseek(file, 0, SEEK_SET) == 0 && fwrite(buffer.data(), 1, tagSize, file) == tagSize;
}

bool WriteMp3(const char* path, const std::vector<float>& left, const std::vector<float>& right,
              int rate, int kbps) {
    lame_t lame = OpenEncoder(rate, kbps);
    if (!lame) {
        fprintf(stderr, "music: the MP3 encoder refused %d Hz at %d kbit/s\n", rate, kbps);
        return false;
    }
    std::string temporary = std::string(path) + ".part";
    FILE* file = fopen(temporary.c_str(), "wb");
    bool ok = file && EncodeAll(lame, file, left, right);
    if (file && fclose(file) != 0) ok = false;
    lame_close(lame);
    if (ok && rename(temporary.c_str(), path) != 0) ok = false;
    if (!ok) {
        remove(temporary.c_str());
        fprintf(stderr, "music: cannot write %s\n", path);
    }
    return ok;
}
