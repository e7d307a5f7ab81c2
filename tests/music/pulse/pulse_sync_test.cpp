// The sound back end on a real sound server: a click track played through it, recorded from the
// null sink's monitor, against the position the back end reports at the same moments.
#include "music/mp3_decode.h"
#include "music/sound_backend.h"
#include "pulse_daemon.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const int kRate = 44100;
const double kShowSeconds = 158.2;  // the show's music runs to 27885568 bytes, 158.08 s

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// A 5 ms burst of 3 kHz every second, half a second into each.
std::vector<short> ClickTrack(double seconds) {
    std::vector<short> samples((size_t)(seconds * kRate) * 2, 0);
    for (int k = 0; (k + 0.5) * kRate + 220 < seconds * kRate; ++k)
        for (int i = 0; i < 220; ++i) {
            size_t frame = (size_t)((k + 0.5) * kRate) + i;
            samples[2 * frame] = samples[2 * frame + 1] = (short)(20000 * sin(2 * M_PI * 3000 * i / kRate));
        }
    return samples;
}

// Frames where the sound first rises above a quarter of full scale after half a second of quiet.
std::vector<int64_t> Onsets(const short* stereo, int64_t frames) {
    std::vector<int64_t> onsets;
    int64_t quietSince = 0;
    for (int64_t n = 0; n < frames; ++n) {
        if (std::abs(stereo[2 * n]) < 8000) continue;
        if (n - quietSince > kRate / 2) onsets.push_back(n);
        quietSince = n;
    }
    return onsets;
}

// parec's output, each read stamped with the time it arrived.
struct Recording {
    std::atomic<int64_t> frames{0};
    std::vector<short> samples;
    std::vector<std::pair<double, int64_t>> arrivals;  // (time, frames received by then)
};

void ReadRecording(int fd, Recording* recording) {
    std::vector<char> buffer(4096);
    std::string pending;
    for (;;) {
        ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n <= 0) break;
        double at = Now();
        pending.append(buffer.data(), (size_t)n);
        size_t whole = pending.size() / 4 * 4;
        const short* frames = (const short*)pending.data();
        recording->samples.insert(recording->samples.end(), frames, frames + whole / 2);
        pending.erase(0, whole);
        recording->arrivals.push_back({at, (int64_t)recording->samples.size() / 2});
        recording->frames = (int64_t)recording->samples.size() / 2;
    }
}

// When frame `n` was heard: frames reach the reader a little after the sink played them, so of
// the reads in the quarter second after it, the earliest (less the frames it brought behind n)
// is the closest bound. The window is short, since the monitor's stream may skip while the
// sink starts.
double HeardAt(const Recording& recording, int64_t n) {
    double best = 1e300;
    for (const auto& arrival : recording.arrivals)
        if (arrival.second >= n && arrival.second - n < kRate / 4)
            best = std::min(best, arrival.first - (double)(arrival.second - n) / kRate);
    return best;
}

struct PositionSample {
    double at;
    uint32_t position;
};

// When the reported position reached `bytes`, interpolated between the samples around it.
double PositionReachedAt(const std::vector<PositionSample>& samples, uint32_t bytes) {
    for (size_t i = 1; i < samples.size(); ++i) {
        if (samples[i].position < bytes) continue;
        const PositionSample &a = samples[i - 1], &b = samples[i];
        if (b.position == a.position) return b.at;
        return a.at + (b.at - a.at) * (double)(bytes - a.position) / (double)(b.position - a.position);
    }
    return NAN;
}

pid_t StartRecorder(const PulseDaemon& daemon, const std::string& monitor, int* fd) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        for (const std::string& setting : PulseClientEnvironment(daemon)) putenv(strdup(setting.c_str()));
        execlp("parec", "parec", "--raw", "--format=s16le", "--channels=2", "--rate=44100", "--latency-msec=5",
               ("--device=" + monitor).c_str(), (char*)nullptr);
        _exit(127);
    }
    close(pipeEnds[1]);
    *fd = pipeEnds[0];
    return pid;
}

}  // namespace

TEST(PulseSync, TheReportedPositionIsTheSoundHeardForTheWholeShow) {
    PulseDaemon daemon;
    ASSERT_TRUE(StartPulseDaemon(&daemon, {{"kamora", "Kamora"}}));
    UsePulseDaemon(daemon);
    std::string path = MusicTestFolder() + "/clicks.mp3";
    ASSERT_TRUE(MakePcmMp3(path, kRate, 2, ClickTrack(kShowSeconds)));
    DecodedPcm pcm;
    ASSERT_EQ(DecodeMp3File(path.c_str(), &pcm), 0);
    std::vector<int64_t> clicks = Onsets((const short*)pcm.data, pcm.length / 4);
    FreeDecodedPcm(&pcm);
    ASSERT_EQ(clicks.size(), 158u);

    int fd = -1;
    pid_t recorder = StartRecorder(daemon, "kamora.monitor", &fd);
    ASSERT_GT(recorder, 0);
    Recording recording;
    std::thread reader(ReadRecording, fd, &recording);
    // The recorder settles first: a record stream starts with a backlog that drains only slowly.
    for (int i = 0; i < 100 && recording.frames < 2 * kRate; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));

    ASSERT_NE(SoundInit(0, kRate, 0x18, nullptr), 0) << "no output through pulseaudio";
    SoundStart();
    uint32_t stream = SoundStreamCreateFile(0, path.c_str(), 0, 0, 0x20000);
    ASSERT_EQ(SoundErrorGetCode(), 0);
    ASSERT_NE(SoundStreamPlay(stream, 0, 0), 0);
    std::vector<PositionSample> positions;
    double limit = Now() + kShowSeconds + 20;
    while (!SoundChannelEnded(stream) && Now() < limit) {
        double before = Now();
        uint32_t position = SoundChannelGetPosition(stream);
        positions.push_back({(before + Now()) / 2, position});
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(SoundChannelEnded(stream)) << "the track did not end in time";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SoundFree();
    kill(recorder, SIGTERM);
    reader.join();
    close(fd);
    waitpid(recorder, nullptr, 0);

    std::vector<int64_t> heard = Onsets(recording.samples.data(), (int64_t)recording.samples.size() / 2);
    ASSERT_EQ(heard.size(), clicks.size()) << "clicks lost on the way";
    double low = 1e9, high = -1e9, sum = 0, first = 0, last = 0;
    for (size_t k = 0; k < clicks.size(); ++k) {
        double offset = HeardAt(recording, heard[k]) - PositionReachedAt(positions, (uint32_t)clicks[k] * 4);
        low = std::min(low, offset);
        high = std::max(high, offset);
        sum += offset;
        if (k < 10) first += offset / 10;
        if (k >= clicks.size() - 10) last += offset / 10;
        EXPECT_NEAR(offset, 0.0, 0.025) << "click " << k << " at " << (clicks[k] / (double)kRate) << " s";
    }
    printf("sound heard minus position over %zu clicks: mean %+.1f ms, from %+.1f to %+.1f ms; "
           "first 10 s %+.1f ms, last 10 s %+.1f ms\n",
           clicks.size(), 1000 * sum / clicks.size(), 1000 * low, 1000 * high, 1000 * first, 1000 * last);
}
