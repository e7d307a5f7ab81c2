// The sound back end: decoding, the byte-position clock on each kind of device, and bad input.
#include "music/music_wav.h"
#include "music/sound_backend.h"
#include "music/sound_device.h"
#include "platform/clock.h"
#include "run_command.h"
#include "tone_mp3.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {

class SoundBackendTest : public ::testing::Test {
protected:
    void TearDown() override {
        StopVirtualClock();
        ForceSoundDeviceClock(false);
        SoundFree();
    }
    // A tone MP3 named after the running test, so parallel test processes never share a file.
    std::string Tone(int rate, int channels, double seconds, const char* suffix = "") {
        std::string path = MusicTestFolder() + "/" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + suffix + ".mp3";
        EXPECT_TRUE(MakeToneMp3(path, rate, channels, seconds));
        return path;
    }
    uint32_t OpenAndPlay(int device, int mixRate, const std::string& path) {
        EXPECT_NE(SoundInit(device, mixRate, 0x18, nullptr), 0);
        EXPECT_NE(SoundStart(), 0);
        uint32_t stream = SoundStreamCreateFile(0, path.c_str(), 0, 0, 0x20000);
        EXPECT_EQ(SoundErrorGetCode(), 0);
        EXPECT_NE(SoundStreamPlay(stream, 0, 0), 0);
        return stream;
    }
};

double Seconds() { return (double)SDL_GetPerformanceCounter() / SDL_GetPerformanceFrequency(); }

// Samples the position for `seconds`, failing on any backward step, and expects it to run at
// `rate` bytes a second within 2 %. Each reading lies between two counter readings: a test thread
// held up between them widens the measured range instead of skewing it.
void ExpectRate(uint32_t stream, double seconds, double rate) {
    double firstBefore = Seconds();
    uint32_t first = SoundChannelGetPosition(stream), last = first;
    double firstAfter = Seconds(), lastBefore = firstAfter, lastAfter = firstAfter;
    while (lastAfter - firstAfter < seconds) {
        SDL_Delay(3);
        lastBefore = Seconds();
        uint32_t position = SoundChannelGetPosition(stream);
        lastAfter = Seconds();
        EXPECT_GE(position, last) << "the position stepped back";
        last = position;
    }
    EXPECT_GE((last - first) / (lastBefore - firstAfter), rate * 0.98);
    EXPECT_LE((last - first) / (lastAfter - firstBefore), rate * 1.02);
}

// Waits (up to `limit` seconds) for the end; the position must then be the decoded length.
void ExpectPlaysToEnd(uint32_t stream, double limit) {
    double start = Seconds();
    uint32_t last = 0;
    while (!SoundChannelEnded(stream) && Seconds() - start < limit) {
        uint32_t position = SoundChannelGetPosition(stream);
        ASSERT_GE(position, last);
        ASSERT_EQ(position % SoundStreamPcm(stream)->blockAlign, 0u);
        last = position;
        SDL_Delay(5);
    }
    ASSERT_TRUE(SoundChannelEnded(stream));
    EXPECT_EQ(SoundChannelGetPosition(stream), SoundStreamPcm(stream)->length);
}

TEST_F(SoundBackendTest, DecodesToTheExactPcmLengthInTheFilesOwnFormat) {
    ASSERT_NE(SoundInit(kNoSoundDevice, 44100, 0x18, nullptr), 0);
    uint32_t stereo = SoundStreamCreateFile(0, Tone(44100, 2, 1.0).c_str(), 0, 0, 0x20000);
    ASSERT_EQ(SoundErrorGetCode(), 0);
    const DecodedPcm* pcm = SoundStreamPcm(stereo);
    EXPECT_EQ(pcm->length, ToneBytes(44100, 2, 1.0));
    EXPECT_EQ(PcmBytesPerSecond(pcm), 176400u);
    EXPECT_EQ(SoundChannelGetPosition(stereo), 0u) << "0 before playback";
    ASSERT_NE(SoundStreamFree(stereo), 0);

    uint32_t mono = SoundStreamCreateFile(0, Tone(22050, 1, 0.5, "-mono").c_str(), 0, 0, 0x20000);
    ASSERT_EQ(SoundErrorGetCode(), 0);
    EXPECT_EQ(SoundStreamPcm(mono)->length, ToneBytes(22050, 1, 0.5));
    EXPECT_EQ(SoundStreamPcm(mono)->blockAlign, 2);
    EXPECT_NE(stereo, mono) << "a new stream gets a new handle";
    EXPECT_EQ(SoundStreamPlay(stereo, 0, 0), 0);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorHandle);
}

TEST_F(SoundBackendTest, NoSoundDeviceRunsOnRealTimeToTheEnd) {
    uint32_t stream = OpenAndPlay(kNoSoundDevice, 44100, Tone(44100, 2, 2.0));
    ExpectRate(stream, 1.5, 176400);
    ExpectPlaysToEnd(stream, 2.0);
}

TEST_F(SoundBackendTest, DummyDriverPositionRunsAtTheStreamsByteRate) {
    uint32_t stream = OpenAndPlay(0, 44100, Tone(44100, 2, 2.0));
    ExpectRate(stream, 1.5, 176400);
    ExpectPlaysToEnd(stream, 2.0);
}

TEST_F(SoundBackendTest, ResampledDeviceKeepsCountingTheStreamsBytes) {
    ForceSoundDeviceClock(true);  // time by the device's own callbacks, through the converter
    uint32_t stream = OpenAndPlay(0, 22050, Tone(44100, 2, 1.0));
    EXPECT_EQ(SoundDeviceRate(), 22050);
    // Each device frame handed out stands for two stream frames of 4 bytes; the position trails
    // what was handed out by the buffers queued in the driver (256 frames each at 22.05 kHz).
    SDL_Delay(300);
    for (int i = 0; i < 5; ++i, SDL_Delay(40)) {
        int64_t before = DeviceMusicFramesOut();
        int64_t position = SoundChannelGetPosition(stream);
        int64_t after = DeviceMusicFramesOut();
        // (A tenth of a second of slack: a starved callback thread lets the position run on.)
        EXPECT_LE(position, after * 8 + 17640);
        EXPECT_GE(position, (before - 4 * 256) * 8) << "counts 44.1 kHz bytes, not 22.05 kHz ones";
    }
    ExpectPlaysToEnd(stream, 5.0);
}

TEST(SoundClockTest, CounterConversionHoldsForHourLongRuns) {
    uint64_t frequency = SDL_GetPerformanceFrequency();
    EXPECT_EQ(CounterTicksToFrames(frequency * 3600 + frequency / 2, 44100), 44100ull * 3600 + 22050);
    EXPECT_EQ(CounterTicksToFrames(frequency / 1000, 48000), 48u);
}

TEST_F(SoundBackendTest, StalledDeviceDoesNotFreezeTheShow) {
    ForceSoundDeviceClock(true);
    uint32_t stream = OpenAndPlay(0, 44100, Tone(44100, 2, 1.0));
    SDL_Delay(100);
    LockSoundDevice();  // the callback cannot run while the test holds the device
    uint32_t before = SoundChannelGetPosition(stream);
    SDL_Delay(500);
    uint32_t after = SoundChannelGetPosition(stream);
    UnlockSoundDevice();
    EXPECT_GT(after, before + 176400 / 10) << "runs on after a quarter second without callbacks";
    ExpectPlaysToEnd(stream, 3.0);
}

TEST_F(SoundBackendTest, StopHoldsThePositionAndStartResumesIt) {
    uint32_t stream = OpenAndPlay(kNoSoundDevice, 44100, Tone(44100, 2, 3.0));
    SDL_Delay(200);
    ASSERT_NE(SoundStop(), 0);
    uint32_t held = SoundChannelGetPosition(stream);
    SDL_Delay(150);
    EXPECT_EQ(SoundChannelGetPosition(stream), held);
    EXPECT_EQ(SoundStreamPlay(stream, 0, 0), 1) << "already playing carries on";
    double resumed = Seconds();
    ASSERT_NE(SoundStart(), 0);
    SDL_Delay(100);
    uint32_t position = SoundChannelGetPosition(stream);
    double elapsed = Seconds() - resumed;
    EXPECT_GT(position, held);
    EXPECT_LE(position, held + (uint32_t)(elapsed * 176400) + 4) << "the stopped time is not counted";
}

TEST_F(SoundBackendTest, VirtualClockDrivesThePositionFromThePlayFrame) {
    StartVirtualClock(50);
    SetVirtualFrame(10);
    uint32_t stream = OpenAndPlay(kNoSoundDevice, 44100, Tone(44100, 2, 1.0));
    EXPECT_EQ(SoundChannelGetPosition(stream), 0u);
    SetVirtualFrame(10 + 25);  // half a second later
    EXPECT_EQ(SoundChannelGetPosition(stream), 88200u);
    EXPECT_FALSE(SoundChannelEnded(stream));
    SetVirtualFrame(10 + 500);
    EXPECT_EQ(SoundChannelGetPosition(stream), ToneBytes(44100, 2, 1.0)) << "clamped to the length";
    EXPECT_TRUE(SoundChannelEnded(stream));
}

TEST_F(SoundBackendTest, DeviceAndCallErrorsCarryTheirCodes) {
    EXPECT_EQ(SoundStreamCreateFile(0, "whatever.mp3", 0, 0, 0x20000), 0u);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorInit);
    EXPECT_EQ(SoundInit(99, 44100, 0x18, nullptr), 0);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorDevice);
    EXPECT_EQ(SoundInit(0, 1000, 0x18, nullptr), 0);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorRate);
    ASSERT_NE(SoundInit(0, 32000, 0x14, nullptr), 0);
    EXPECT_EQ(SoundInit(0, 44100, 0x18, nullptr), 0);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorAlready);
    EXPECT_EQ(SoundSetReverb(26, 0.5f, 1, 1), 0);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorIllegalParameter);
    EXPECT_NE(SoundSetReverb(7, 0.5f, 3.961f, 0.5f), 0);
    EXPECT_NE(SoundSetReverb(-1, 0, -1, -1), 0);
    EXPECT_NE(SoundSet3DFactors(1, 1, 1), 0);
    EXPECT_NE(SoundSetHFAbsorption(0), 0);
    uint32_t stream = SoundStreamCreateFile(0, Tone(44100, 2, 0.2).c_str(), 0, 0, 0x20000);
    EXPECT_EQ(SoundStreamPlay(stream, 0, 0), 0) << "output not started";
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorStart);
    EXPECT_NE(SoundFree(), 0);
    EXPECT_EQ(SoundFree(), 0) << "a second free does nothing";
    EXPECT_EQ(SoundStreamFree(stream), 0) << "freeing the device freed the stream";
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorHandle);
}

TEST_F(SoundBackendTest, DeviceListStartsWithTheDefaultAndEnds) {
    const char* name = nullptr;
    ASSERT_NE(SoundGetDeviceDescription(0, &name), 0);
    EXPECT_STREQ(name, "Default output device");
    int count = 1;
    while (count < 64 && SoundGetDeviceDescription(count, &name)) {
        EXPECT_GT(strlen(name), 0u);
        ++count;
    }
    EXPECT_LT(count, 64);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorDevice);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST_F(SoundBackendTest, BadFilesFailCleanlyAndTruncatedOnesPlayWhatTheyHold) {
    ASSERT_NE(SoundInit(kNoSoundDevice, 44100, 0x18, nullptr), 0);
    std::string folder = MusicTestFolder() + "/bad-";
    const std::string good = ReadWholeFile(Tone(44100, 2, 1.0));
    std::string noise(20000, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = (char)(i * 2654435761u >> 13);
    const struct { const char* name; std::string bytes; int code; } cases[] = {
        {"empty", "", kSoundErrorFormat},
        {"text", "this is not an mp3 at all\n", kSoundErrorFormat},
        {"noise", noise, kSoundErrorFormat},
        {"header-only", good.substr(0, 300), kSoundErrorFormat},
    };
    for (const auto& c : cases) {
        std::string path = folder + c.name + ".mp3";
        WriteBytes(path, c.bytes);
        EXPECT_EQ(SoundStreamCreateFile(0, path.c_str(), 0, 0, 0x20000), 0u) << c.name;
        EXPECT_EQ(SoundErrorGetCode(), c.code) << c.name;
    }
    EXPECT_EQ(SoundStreamCreateFile(0, (folder + "missing.mp3").c_str(), 0, 0, 0x20000), 0u);
    EXPECT_EQ(SoundErrorGetCode(), kSoundErrorFileOpen);

    std::string half = folder + "half.mp3";
    WriteBytes(half, good.substr(0, good.size() / 2));
    uint32_t stream = SoundStreamCreateFile(0, half.c_str(), 0, 0, 0x20000);
    ASSERT_EQ(SoundErrorGetCode(), 0);
    EXPECT_GT(SoundStreamPcm(stream)->length, ToneBytes(44100, 2, 0.3));
    EXPECT_LT(SoundStreamPcm(stream)->length, ToneBytes(44100, 2, 0.7));
    EXPECT_EQ(SoundStreamPcm(stream)->length % 4, 0u);
}

TEST_F(SoundBackendTest, StreamStaysPlayableAfterItsFileIsDeleted) {
    std::string path = Tone(44100, 2, 0.3);
    uint32_t stream = OpenAndPlay(kNoSoundDevice, 44100, path);
    ASSERT_EQ(remove(path.c_str()), 0);
    ExpectPlaysToEnd(stream, 1.5);
}

TEST_F(SoundBackendTest, WavCaptureHoldsTheDecodedSpanOnWholeFrames) {
    ASSERT_NE(SoundInit(kNoSoundDevice, 44100, 0x18, nullptr), 0);
    uint32_t stream = SoundStreamCreateFile(0, Tone(44100, 2, 0.5).c_str(), 0, 0, 0x20000);
    ASSERT_EQ(SoundErrorGetCode(), 0);
    const DecodedPcm* pcm = SoundStreamPcm(stream);
    std::string wav = MusicTestFolder() + "/span.wav";
    ASSERT_TRUE(WriteMusicWav(stream, 1002, 9003, wav.c_str()));
    std::string bytes = ReadWholeFile(wav);
    ASSERT_EQ(bytes.size(), 44u + 8000u) << "1000..9000, rounded down to whole frames";
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(bytes.substr(44), std::string((const char*)pcm->data + 1000, 8000));

    ASSERT_TRUE(WriteMusicWav(stream, pcm->length - 400, 0xFFFFFFFFu, wav.c_str()));
    EXPECT_EQ(ReadWholeFile(wav).size(), 44u + 400u) << "clamped to the decoded length";
    EXPECT_FALSE(WriteMusicWav(stream, 10, 5, wav.c_str()));
    EXPECT_FALSE(WriteMusicWav(stream + 1, 0, 10, wav.c_str()));
    EXPECT_FALSE(WriteMusicWav(stream, 0, 10, (MusicTestFolder() + "/no/such/folder.wav").c_str()));
}

}  // namespace
