#include "master.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "envelope.h"

static void RemoveDc(std::vector<float>* samples, int rate) {
    float coef = expf(-2.0f * (float)M_PI * 18.0f / rate), x1 = 0, y1 = 0;
    for (float& s : *samples) {
        float y = s - x1 + coef * y1;
        x1 = s, y1 = y, s = y;
    }
}

// RMS of the music's loud part: 400 ms blocks, ignoring blocks 10 dB under the average and
// near-silence, so quiet intros and tails do not pull the level up.
static double LoudPartRms(const std::vector<float>& l, const std::vector<float>& r, int rate) {
    size_t block = (size_t)rate * 4 / 10;
    std::vector<double> powers;
    for (size_t start = 0; start + block <= l.size(); start += block) {
        double sum = 0;
        for (size_t i = start; i < start + block; i++) sum += 0.5 * (l[i] * l[i] + r[i] * r[i]);
        if (sum / block > 1e-7) powers.push_back(sum / block);
    }
    if (powers.empty()) return 0;
    double mean = 0;
    for (double p : powers) mean += p / powers.size();
    double gated = 0;
    int count = 0;
    for (double p : powers)
        if (p > mean * 0.1) gated += p, count++;
    return sqrt(gated / count);
}

// The gain each sample needs so its peak stays under the ceiling, made smooth: the minimum over
// a look-ahead window, averaged over the same window (so the gain is already down when the peak
// arrives), then a slow release.
static std::vector<float> LimiterGain(const std::vector<float>& l, const std::vector<float>& r,
                                      float ceiling, int rate) {
    size_t n = l.size(), window = (size_t)(rate * 0.005);
    std::vector<float> need(n), lowest(n), gain(n);
    for (size_t i = 0; i < n; i++) {
        float peak = std::max(fabsf(l[i]), fabsf(r[i]));
        need[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    std::deque<size_t> minima;  // indices of increasing need values in the window ahead
    for (size_t i = n; i-- > 0;) {
        while (!minima.empty() && need[minima.back()] >= need[i]) minima.pop_back();
        minima.push_back(i);
        if (minima.front() > i + window) minima.pop_front();
        lowest[i] = need[minima.front()];
    }
    double sum = 0;
    float release = DecayCoefficient(0.25f, (float)rate), held = 1.0f;
    for (size_t i = 0; i < n; i++) {
        sum += lowest[i] - (i >= window ? lowest[i - window] : 1.0f);
        float smooth = (float)(sum / window) + 1.0f;  // average of lowest[i-window+1..i]
        held = std::min(smooth, 1.0f - (1.0f - held) * release);
        gain[i] = held;
    }
    return gain;
}

MasterReport MasterTrack(std::vector<float>* left, std::vector<float>* right, int rate, double levelDb,
                         double ceilingDb, double fadeSeconds) {
    MasterReport report = {};
    RemoveDc(left, rate);
    RemoveDc(right, rate);
    double rms = LoudPartRms(*left, *right, rate);
    report.gainDb = rms > 0 ? levelDb - 20.0 * log10(rms) : 0.0;
    float gain = (float)pow(10.0, report.gainDb / 20.0), ceiling = (float)pow(10.0, ceilingDb / 20.0);
    for (size_t i = 0; i < left->size(); i++) (*left)[i] *= gain, (*right)[i] *= gain;
    std::vector<float> limit = LimiterGain(*left, *right, ceiling, rate);
    size_t n = left->size(), fade = (size_t)(fadeSeconds * rate);
    float peak = 0, deepest = 1;
    for (size_t i = 0; i < n; i++) {
        float g = limit[i];
        if (fade > 0 && i + fade >= n) g *= 0.5f + 0.5f * cosf((float)M_PI * (i + fade - n + 1) / fade);
        // The clamp only catches rounding; the limiter has already done the work.
        (*left)[i] = std::clamp((*left)[i] * g, -ceiling, ceiling);
        (*right)[i] = std::clamp((*right)[i] * g, -ceiling, ceiling);
        peak = std::max(peak, std::max(fabsf((*left)[i]), fabsf((*right)[i])));
        deepest = std::min(deepest, limit[i]);
    }
    report.peakDb = peak > 0 ? 20.0 * log10(peak) : -200.0;
    report.limitedDb = 20.0 * log10(deepest);
    return report;
}
