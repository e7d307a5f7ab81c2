#include "music_audio.h"

#include <cmath>
#include <complex>
#include <mpg123.h>

bool DecodeMp3(const std::string& path, DecodedAudio* audio) {
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) return false;
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    bool ok = mpg123_open(mh, path.c_str()) == MPG123_OK;
    int encoding = 0;
    ok = ok && mpg123_getformat(mh, &audio->rate, &audio->channels, &encoding) == MPG123_OK;
    ok = ok && mpg123_format_none(mh) == MPG123_OK &&
         mpg123_format(mh, audio->rate, audio->channels, MPG123_ENC_SIGNED_16) == MPG123_OK;
    unsigned char buffer[16384];
    while (ok) {
        size_t done = 0;
        int result = mpg123_read(mh, buffer, sizeof buffer, &done);
        const int16_t* pcm = (const int16_t*)buffer;
        audio->samples.insert(audio->samples.end(), pcm, pcm + done / 2);
        if (result == MPG123_DONE) break;
        ok = result == MPG123_OK || result == MPG123_NEW_FORMAT;
    }
    mpg123_close(mh);
    mpg123_delete(mh);
    return ok && audio->channels > 0;
}

struct Biquad {
    double b0, b1, b2, a1, a2, z1 = 0, z2 = 0;
    double Run(double x) {
        double y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};

// The two K-weighting stages (a high shelf for the head, a high-pass for the low end),
// derived from their analogue definitions so they hold at any sample rate.
static void KWeighting(double rate, Biquad* shelf, Biquad* highPass) {
    double k = tan(M_PI * 1681.974450955533 / rate), q = 0.7071752369554196;
    double vh = pow(10.0, 3.999843853973347 / 20.0), vb = pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q + k * k;
    *shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
              2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
    k = tan(M_PI * 38.13547087602444 / rate), q = 0.5003270373238773;
    a0 = 1.0 + k / q + k * k;
    *highPass = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

double IntegratedLoudness(const DecodedAudio& audio) {
    int channels = audio.channels;
    size_t frames = audio.samples.size() / channels, step = audio.rate / 10;
    std::vector<double> power(frames / step + 1, 0.0);  // weighted energy per 100 ms
    for (int c = 0; c < channels; c++) {
        Biquad shelf, highPass;
        KWeighting((double)audio.rate, &shelf, &highPass);
        for (size_t i = 0; i < frames; i++) {
            double y = highPass.Run(shelf.Run(audio.samples[i * channels + c] / 32768.0));
            power[i / step] += y * y;
        }
    }
    std::vector<double> blocks;  // mean square of each 400 ms block, summed over channels
    for (size_t b = 0; b + 4 <= frames / step; b++)
        blocks.push_back((power[b] + power[b + 1] + power[b + 2] + power[b + 3]) / (4.0 * step));
    auto lufs = [](double z) { return -0.691 + 10.0 * log10(z); };
    double sum = 0;
    int count = 0;
    for (double z : blocks)
        if (lufs(z) > -70.0) sum += z, count++;
    if (count == 0) return -200.0;
    double relativeGate = lufs(sum / count) - 10.0;
    sum = 0, count = 0;
    for (double z : blocks)
        if (lufs(z) > -70.0 && lufs(z) > relativeGate) sum += z, count++;
    return lufs(sum / count);
}

double PeakDb(const DecodedAudio& audio) {
    int peak = 0;
    for (int16_t s : audio.samples) peak = std::max(peak, std::abs((int)s));
    return peak > 0 ? 20.0 * log10(peak / 32768.0) : -200.0;
}

static void Fft(std::vector<std::complex<double>>* data) {
    size_t n = data->size();
    for (size_t i = 1, j = 0; i < n; i++) {  // bit reversal
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap((*data)[i], (*data)[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        std::complex<double> turn = std::polar(1.0, -2.0 * M_PI / len);
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (size_t k = 0; k < len / 2; k++, w *= turn) {
                std::complex<double> a = (*data)[i + k], b = (*data)[i + k + len / 2] * w;
                (*data)[i + k] = a + b, (*data)[i + k + len / 2] = a - b;
            }
        }
    }
}

std::vector<double> SpectralFlux(const DecodedAudio& audio, long first, long last, int hop) {
    const int size = 512;
    size_t frames = audio.samples.size() / audio.channels;
    std::vector<double> flux, previous(size / 2, 0.0);
    std::vector<std::complex<double>> spectrum(size);
    for (long centre = first - hop; centre < last; centre += hop) {  // one frame before: the base
        for (int i = 0; i < size; i++) {
            long at = (long)centre - size / 2 + i;
            double mono = 0;
            if (at >= 0 && at < (long)frames)
                for (int c = 0; c < audio.channels; c++) mono += audio.samples[at * audio.channels + c];
            double window = 0.5 - 0.5 * cos(2.0 * M_PI * i / size);
            spectrum[i] = mono * window / (32768.0 * audio.channels);
        }
        Fft(&spectrum);
        double rise = 0;
        for (int k = 1; k < size / 2; k++) {
            double magnitude = log1p(100.0 * std::abs(spectrum[k]));  // compressed, as the ear
            rise += std::max(0.0, magnitude - previous[k]);
            previous[k] = magnitude;
        }
        if (centre >= first) flux.push_back(rise);
    }
    return flux;
}
