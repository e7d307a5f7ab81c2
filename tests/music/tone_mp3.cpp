#include "tone_mp3.h"

#include "run_command.h"

#include <gtest/gtest.h>
#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <vector>

uint32_t ToneBytes(int rate, int channels, double seconds) {
    return (uint32_t)(rate * seconds) * 2u * (uint32_t)channels;
}

static std::vector<short> ToneSamples(int rate, int channels, double seconds, double hz) {
    int frames = (int)(rate * seconds);
    std::vector<short> samples((size_t)frames * channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples[(size_t)i * channels + c] = (short)(12000 * sin(2 * M_PI * hz * i / rate));
    return samples;
}

static bool EncodeTone(lame_global_flags* lame, const std::vector<short>& samples, int channels,
                       std::vector<unsigned char>* mp3) {
    int frames = (int)(samples.size() / channels);
    mp3->resize((size_t)frames * 5 / 4 + 7200 + 16384);
    int written = channels == 2
        ? lame_encode_buffer_interleaved(lame, (short*)samples.data(), frames, mp3->data(), (int)mp3->size())
        : lame_encode_buffer(lame, samples.data(), nullptr, frames, mp3->data(), (int)mp3->size());
    if (written < 0) return false;
    int tail = lame_encode_flush(lame, mp3->data() + written, (int)mp3->size() - written);
    if (tail < 0) return false;
    mp3->resize((size_t)(written + tail));
    // The first frame is a placeholder for the gapless tag; now that the length is known, fill it.
    unsigned char tag[4096];
    size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagBytes > 0 && tagBytes <= mp3->size()) std::copy(tag, tag + tagBytes, mp3->begin());
    return true;
}

bool MakePcmMp3(const std::string& path, int rate, int channels, const std::vector<short>& samples) {
    lame_global_flags* lame = lame_init();
    if (!lame) return false;
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 2 ? JOINT_STEREO : MONO);
    lame_set_brate(lame, 96);
    lame_set_quality(lame, 7);
    lame_set_write_id3tag_automatic(lame, 0);
    std::vector<unsigned char> mp3;
    bool ok = lame_init_params(lame) >= 0 && EncodeTone(lame, samples, channels, &mp3);
    lame_close(lame);
    if (!ok) return false;
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    ok = fwrite(mp3.data(), 1, mp3.size(), file) == mp3.size();
    return fclose(file) == 0 && ok;
}

bool MakeToneMp3(const std::string& path, int rate, int channels, double seconds, double hz) {
    return MakePcmMp3(path, rate, channels, ToneSamples(rate, channels, seconds, hz));
}

// ctest runs each test in a process of its own, several at once: each process gets a folder
// named after its (first) test, made fresh once.
std::string MusicTestFolder() {
    static std::string folder;
    if (folder.empty()) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = MakeTestFolder(std::string("music-") + (test ? test->name() : "shared"));
    }
    return folder;
}
