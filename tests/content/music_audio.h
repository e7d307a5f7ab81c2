// Measurements of decoded music for the soundtrack's tests: decoding with libmpg123, an
// EBU R128 / BS.1770 loudness meter and a spectral-flux onset finder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedAudio {
    long rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
};

// Decodes a whole MP3 to 16-bit (gapless: encoder delay and padding removed). False on error.
bool DecodeMp3(const std::string& path, DecodedAudio* audio);

// Integrated loudness in LUFS: K-weighting, 400 ms blocks every 100 ms, gates at -70 LUFS and
// 10 LU under the ungated mean.
double IntegratedLoudness(const DecodedAudio& audio);

// Largest absolute sample in dBFS.
double PeakDb(const DecodedAudio& audio);

// Spectral flux of the mono mix from sample `first` to `last`: one value every `hop` samples,
// value i for the frame of 512 samples centred on first + hop * i.
std::vector<double> SpectralFlux(const DecodedAudio& audio, long first, long last, int hop);
