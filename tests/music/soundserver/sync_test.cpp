// The sound back end on a real sound server: a click track played through it, recorded from the
// null sink's monitor, against the position the back end reports at the same moments. And the
// recorder and the server end with the test, however it ends.
#include "music/mp3_decode.h"
#include "music/sound_backend.h"
#include "sound_server.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <sys/prctl.h>
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

// The longest gap between position samples within a second of `at`: a click that is off by as
// much tells a starved test process from a sound that stalled.
double LongestPause(const std::vector<PositionSample>& samples, double at) {
    double longest = 0;
    for (size_t i = 1; i < samples.size(); ++i)
        if (std::abs(samples[i].at - at) < 1) longest = std::max(longest, samples[i].at - samples[i - 1].at);
    return longest;
}

// parec on the sink's monitor, read by a thread of this process. Ends with the test, whatever ends
// it: an assertion that returns early, or (through the parent-death signal) one that aborts.
struct Recorder {
    pid_t pid = 0;
    int fd = -1;
    Recording recording;
    std::thread reader;
    ~Recorder();
};

void StopRecorder(Recorder* recorder) {
    if (recorder->pid > 0) kill(recorder->pid, SIGTERM);
    if (recorder->reader.joinable()) recorder->reader.join();
    if (recorder->fd >= 0) close(recorder->fd);
    if (recorder->pid > 0) waitpid(recorder->pid, nullptr, 0);
    recorder->pid = 0;
    recorder->fd = -1;
}

Recorder::~Recorder() { StopRecorder(this); }

bool StartRecorder(const SoundServer& server, const std::string& monitor, Recorder* recorder) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    recorder->pid = StartSoundClient(server, {"parec", "--raw", "--format=s16le", "--channels=2", "--rate=44100",
                                              "--latency-msec=5", "--device=" + monitor}, ends[1]);
    close(ends[1]);
    recorder->fd = ends[0];
    recorder->reader = std::thread(ReadRecording, recorder->fd, &recorder->recording);
    // A record stream starts with a backlog that drains only slowly: the recorder settles first.
    for (int i = 0; i < 100 && recorder->recording.frames < 2 * kRate; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return recorder->pid > 0 && recorder->recording.frames > 0;
}

// The reported position against the sound heard, over the whole show's length.
void CheckClickTrackSync(const SoundSetup& setup) {
    SoundServer server;
    ASSERT_TRUE(StartSoundServer(&server, setup, {{"kamora", "Kamora"}}));
    UseSoundServer(server);
    std::string path = MakeTestFolder(std::string("sync-") + setup.name) + "/clicks.mp3";
    ASSERT_TRUE(MakePcmMp3(path, kRate, 2, ClickTrack(kShowSeconds)));
    DecodedPcm pcm;
    ASSERT_EQ(DecodeMp3File(path.c_str(), &pcm), 0);
    std::vector<int64_t> clicks = Onsets((const short*)pcm.data, pcm.length / 4);
    FreeDecodedPcm(&pcm);
    ASSERT_EQ(clicks.size(), 158u);

    Recorder recorder;
    ASSERT_TRUE(StartRecorder(server, "kamora.monitor", &recorder)) << "parec recorded nothing";
    ASSERT_NE(SoundInit(0, kRate, 0x18, nullptr), 0) << "no output through " << setup.driver;
    SoundStart();
    uint32_t stream = SoundStreamCreateFile(0, path.c_str(), 0, 0, 0x20000);
    ASSERT_EQ(SoundErrorGetCode(), 0);
    ASSERT_NE(SoundStreamPlay(stream, 0, 0), 0);
    std::vector<PositionSample> positions;
    double limit = Now() + kShowSeconds + 60;  // a hang bound only
    while (!SoundChannelEnded(stream) && Now() < limit) {
        double before = Now();
        uint32_t position = SoundChannelGetPosition(stream);
        positions.push_back({(before + Now()) / 2, position});
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(SoundChannelEnded(stream)) << "the track did not end";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    SoundFree();
    StopRecorder(&recorder);

    const Recording& recording = recorder.recording;
    std::vector<int64_t> heard = Onsets(recording.samples.data(), (int64_t)recording.samples.size() / 2);
    ASSERT_EQ(heard.size(), clicks.size()) << "clicks lost on the way";
    double low = 1e9, high = -1e9, sum = 0, first = 0, last = 0;
    for (size_t k = 0; k < clicks.size(); ++k) {
        double reached = PositionReachedAt(positions, (uint32_t)clicks[k] * 4);
        double offset = HeardAt(recording, heard[k]) - reached;
        low = std::min(low, offset);
        high = std::max(high, offset);
        sum += offset;
        if (k < 10) first += offset / 10;
        if (k >= clicks.size() - 10) last += offset / 10;
        EXPECT_NEAR(offset, 0.0, 0.025) << "click " << k << " at " << (clicks[k] / (double)kRate) << " s; "
                                        << "this process paused up to " << LongestPause(positions, reached)
                                        << " s around it";
    }
    printf("%s: sound heard minus position over %zu clicks: mean %+.1f ms, from %+.1f to %+.1f ms; "
           "first 10 s %+.1f ms, last 10 s %+.1f ms, drift %+.1f ms\n",
           setup.name, clicks.size(), 1000 * sum / clicks.size(), 1000 * low, 1000 * high, 1000 * first,
           1000 * last, 1000 * (last - first));
}

// This test program again, running only the current case with `setting` (NAME=value), its output
// into `outPath`.
pid_t StartThisCaseAgain(const std::string& setting, const std::string& outPath) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    pid_t pid = StartChild({setting}, {"/proc/self/exe", filter}, out, out);
    close(out);
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// What the cleanup case runs in a process of its own: a test that fails mid-recording, by an
// assertion or by aborting. It names what it started, for the case to look for afterwards.
void FailMidRecording(const std::string& how) {
    SoundServer server;
    ASSERT_TRUE(StartSoundServer(&server, AvailableSoundSetups()[0], {{"kamora", "Kamora"}}));
    Recorder recorder;
    ASSERT_TRUE(StartRecorder(server, "kamora.monitor", &recorder));
    printf("folder %s\n", server.folder.c_str());
    for (pid_t pid : server.pids) printf("process %d\n", (int)pid);
    printf("process %d\n", (int)recorder.pid);
    fflush(stdout);
    if (how == "abort") abort();
    ASSERT_TRUE(false) << "failing mid-recording";
}

}  // namespace

// Every server and driver this machine has, side by side, each in a process of its own: SDL plays
// through one driver at a time.
TEST(TheReportedPositionIsTheSoundHeard, OnEveryDriver) {
    for (const SoundSetup& setup : kSoundSetups)
        if (const char* name = getenv("KAMORA_SYNC_SETUP"); name && name == std::string(setup.name))
            return CheckClickTrackSync(setup);
    SKIP_WITHOUT_ANY_SOUND_SERVER();
    std::vector<std::pair<std::string, pid_t>> runs;
    for (const SoundSetup& setup : AvailableSoundSetups()) {
        std::string out = MusicTestFolder() + "/sync-" + setup.name + ".out";
        runs.push_back({out, StartThisCaseAgain(std::string("KAMORA_SYNC_SETUP=") + setup.name, out)});
    }
    for (const auto& [out, pid] : runs) {
        int exitCode = WaitForExit(pid);
        std::istringstream lines(ReadWholeFile(out));
        bool measured = false;
        for (std::string line; std::getline(lines, line);)
            if (line.find("sound heard minus position") != std::string::npos) {
                printf("%s\n", line.c_str());
                measured = true;
            }
        EXPECT_TRUE(exitCode == 0 && measured) << ReadWholeFile(out);
    }
}

TEST(SoundServerCleanup, EveryProcessEndsWithTheTestThatFailed) {
    if (const char* how = getenv("KAMORA_FAIL_MID_RECORDING")) return FailMidRecording(how);
    SKIP_WITHOUT_ANY_SOUND_SERVER();
    prctl(PR_SET_CHILD_SUBREAPER, 1);  // what the failed test leaves is ours to reap and look for
    for (std::string how : {"assert", "abort"}) {
        std::string out = MusicTestFolder() + "/failing.out";
        int exitCode = WaitForExit(StartThisCaseAgain("KAMORA_FAIL_MID_RECORDING=" + how, out));
        std::string listing = ReadWholeFile(out);
        SCOPED_TRACE(how + "\n" + listing);
        // A failed assertion fails the test and no more: the recorder's thread is joined, not
        // left to abort the process.
        EXPECT_EQ(exitCode, how == "assert" ? 1 : 128 + SIGABRT);
        std::istringstream words(listing);
        std::string word, folder;
        std::vector<pid_t> pids;
        while (words >> word)
            if (word == "folder") words >> folder;
            else if (word == "process" && words >> word) pids.push_back(std::stoi(word));
        ASSERT_EQ(pids.size(), AvailableSoundSetups()[0].pipewire ? 4u : 2u);
        auto allGone = [&] {
            while (waitpid(-1, nullptr, WNOHANG) > 0) continue;
            for (pid_t pid : pids)
                if (!ProcessGone(pid)) return false;
            return !std::filesystem::exists(folder);
        };
        for (int i = 0; i < 100 && !allGone(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(allGone()) << "left behind by the failed test";
    }
}
