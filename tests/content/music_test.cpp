// The soundtrack the content build made: its length, level and loudness, and an onset on every
// moment the show changes picture. Also the renderer's handling of scores.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>

#include "music_audio.h"
#include "run_command.h"

static const double BYTES_PER_SECOND = 176400.0;
static const std::string MusicPath = std::string(KAMORA_BUILD_DIR) + "/content/entries/music.mp3";
static const std::string Renderer = std::string(KAMORA_BUILD_DIR) + "/content/music/kamora-music";

// Decoded once for all tests of the track.
static const DecodedAudio* Track() {
    static DecodedAudio audio;
    static bool tried = false, ok = false;
    if (!tried) tried = true, ok = DecodeMp3(MusicPath, &audio);
    return ok ? &audio : nullptr;
}

#define REQUIRE_TRACK()                                                                 \
    const DecodedAudio* track = Track();                                                \
    if (!std::filesystem::exists(MusicPath)) GTEST_SKIP() << "no content build here";   \
    ASSERT_NE(track, nullptr) << "cannot decode " << MusicPath

TEST(Soundtrack, LengthLevelAndLoudnessAreInRange) {
    REQUIRE_TRACK();
    ASSERT_EQ(track->rate, 44100);
    ASSERT_EQ(track->channels, 2);
    double bytes = track->samples.size() * 2.0;
    double loudness = IntegratedLoudness(*track), peak = PeakDb(*track);
    printf("music.mp3: %.0f bytes decoded (%.3f s), peak %.2f dBFS, %.2f LUFS\n", bytes,
           bytes / BYTES_PER_SECOND, peak, loudness);
    EXPECT_GE(bytes, 27885568 + 0.25 * BYTES_PER_SECOND) << "the music ends before the show does";
    EXPECT_LE(bytes, 170 * BYTES_PER_SECOND);
    EXPECT_LT(peak, -1.0);
    EXPECT_GE(loudness, -16.0);
    EXPECT_LE(loudness, -11.0);
}

// Each change of picture (and the raster bars' entry) must fall on a clear onset: the strongest
// spectral-flux peak within 50 ms of it stands well above the music around it.
TEST(Soundtrack, EveryPictureChangeFallsOnAnOnset) {
    REQUIRE_TRACK();
    const long positions[] = {4850432, 7258240, 8472704, 12091904, 15711616,
                              18122752, 19310592, 22945280, 24147624};
    const int hop = 64;
    const double perSecond = track->rate / (double)hop;
    for (long position : positions) {
        double seconds = position / BYTES_PER_SECOND;
        long sample = position / 4, second = lround(perSecond), first = sample - second * hop;
        std::vector<double> flux = SpectralFlux(*track, first, sample + (second + 1) * hop, hop);
        long centre = second, reach = lround(0.050 * perSecond);
        long best = centre - reach;
        for (long i = centre - reach; i <= centre + reach; i++)
            if (flux[i] > flux[best]) best = i;
        // The typical flux of the surrounding two seconds: its median.
        std::vector<double> around(flux.begin(), flux.end());
        std::nth_element(around.begin(), around.begin() + around.size() / 2, around.end());
        double typical = around[around.size() / 2], strength = flux[best] / typical;
        printf("position %8ld (%.3f s): onset at %+5.1f ms, %.1f times the typical flux\n", position, seconds,
               (best - centre) * hop * 1000.0 / track->rate, strength);
        EXPECT_GE(strength, 4.0) << "no clear onset near byte " << position;
    }
}

static void WriteText(const std::string& path, const std::string& text) {
    FILE* file = fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    fputs(text.c_str(), file);
    fclose(file);
}

static const char* ShortScore =
    "tempo 120\nlength 2.5\nfade 0.2\n"
    "instrument kick kick tone=50 decay=0.3\n"
    "instrument lead synth wave=saw unison=3 detune=0.2 cutoff=2000 delay=0.3 reverb=0.3\n"
    "pattern beat kick X . . . x . . .   # a comment\n"
    "pattern tune lead A4 . C#5 . E5! . ^ . Bb4+D5 . . . . . ^ .\n"
    "play 0-1 beat tune tune@lead-12 ~lead.cutoff=500>4000\n";

TEST(SoundtrackRenderer, SameScoreGivesTheSameBytesAndTheExactLength) {
    if (!std::filesystem::exists(Renderer)) GTEST_SKIP() << "no content build here";
    std::string folder = MakeTestFolder("music_renderer");
    WriteText(folder + "/score.txt", ShortScore);
    CommandResult first = RunCommand(Renderer + " score.txt one.mp3", folder);
    CommandResult second = RunCommand(Renderer + " score.txt two.mp3", folder);
    ASSERT_EQ(first.exitCode, 0) << first.out;
    ASSERT_EQ(second.exitCode, 0) << second.out;
    EXPECT_NE(first.out.find("music: encoding 100%"), std::string::npos) << first.out;
    std::string one = ReadWholeFile(folder + "/one.mp3");
    EXPECT_EQ(one, ReadWholeFile(folder + "/two.mp3"));
    DecodedAudio audio;
    ASSERT_TRUE(DecodeMp3(folder + "/one.mp3", &audio));
    EXPECT_EQ(audio.samples.size(), 2u * 110250u) << "the gapless header must restore 2.5 s exactly";
    EXPECT_GT(PeakDb(audio), -20.0) << "the score should make sound";
    EXPECT_LT(PeakDb(audio), -1.0);
}

TEST(SoundtrackRenderer, ScoreErrorsNameTheLineAndLeaveNoFile) {
    if (!std::filesystem::exists(Renderer)) GTEST_SKIP() << "no content build here";
    std::string folder = MakeTestFolder("music_renderer_errors");
    struct Case { const char* score; const char* message; } cases[] = {
        {"instrument a synth\npattern p a A4 H4\nplay 0 p\n", "score.txt:2: not a note or step: \"H4\""},
        {"pattern p nothing A4\n", "score.txt:1: unknown instrument \"nothing\""},
        {"instrument a synth wave=wobble\n", "score.txt:1: unknown wave \"wobble\""},
        {"instrument a synth\n  cutof=300\n", "score.txt:2: unknown instrument setting \"cutof\""},
        {"instrument a synth\npattern p a A4\nplay 3-1 p\n", "score.txt:3: bad phrase range \"3-1\""},
        {"instrument a synth\npattern p a A4\nplay 0 q\n", "score.txt:3: unknown pattern \"q\""},
        {"tempo fast\n", "score.txt:1: not a number: \"fast\""},
        {"instrument a synth\npattern p a A4\nplay 0 p\nsync 2 5\nsync 3 4\n", "sync points must rise"},
        {"instrument a synth\n", "the order list is empty"},
        {"grid 4 4 100000000000\n", "score.txt:1: bad grid \"100000000000\""},
        {"grid 64 64 64\n", "more than 1024 rows a phrase"},
        {"sync 3 -2\n", "sync before the track's start"},
        {"instrument a synth\npattern p a A4\nplay 0 p@b\n", "score.txt:3: unknown instrument \"b\""},
        {"instrument a synth\npattern p a A4\nplay 0 p+x\n", "score.txt:3: bad transposition \"p+x\""},
    };
    for (const Case& c : cases) {
        WriteText(folder + "/score.txt", c.score);
        CommandResult result = RunCommand(Renderer + " score.txt out.mp3", folder);
        EXPECT_EQ(result.exitCode, 1) << c.score;
        EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
        EXPECT_FALSE(std::filesystem::exists(folder + "/out.mp3"));
    }
    CommandResult missing = RunCommand(Renderer + " absent.txt out.mp3", folder);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("cannot open the score"), std::string::npos) << missing.out;
    WriteText(folder + "/score.txt", ShortScore);
    CommandResult unwritable = RunCommand(Renderer + " score.txt no/such/folder/out.mp3", folder);
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.out.find("cannot write"), std::string::npos) << unwritable.out;
    EXPECT_FALSE(std::filesystem::exists(folder + "/no"));
}
