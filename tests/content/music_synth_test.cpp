// The synthesizer's modules on their own: note names, the phrase clock, the filter, the
// sequencer's timing and the mastering stage.
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "filter.h"
#include "master.h"
#include "run_command.h"
#include "score.h"
#include "sequencer.h"

TEST(SoundtrackScore, NoteNamesFollowTheMidiNumbers) {
    EXPECT_EQ(ParseNoteName("A4"), 69);
    EXPECT_EQ(ParseNoteName("C4"), 60);
    EXPECT_EQ(ParseNoteName("C#4"), 61);
    EXPECT_EQ(ParseNoteName("Bb2"), 46);
    EXPECT_EQ(ParseNoteName("B3"), 59);
    EXPECT_EQ(ParseNoteName("C0"), 12);
    for (const char* bad : {"H4", "A", "A9", "a4", "A#", "C##4", "A44", ""}) EXPECT_EQ(ParseNoteName(bad), -1) << bad;
}

static Score* LoadText(const std::string& name, const std::string& text) {
    static Score score;
    std::string path = MakeTestFolder(name) + "/score.txt";
    FILE* file = fopen(path.c_str(), "w");
    fputs(text.c_str(), file);
    fclose(file);
    char error[512] = "";
    EXPECT_TRUE(LoadScore(path.c_str(), &score, error, sizeof error)) << error;
    return &score;
}

TEST(SoundtrackScore, PinnedPhrasesKeepTheirTimeAndShareTheGaps) {
    Score* score = LoadText("music_clock", "tempo 120\nstart 0.5\ngrid 4 4 1\nsync 3 3.5\nsync 5 4.7\n"
                                           "instrument a synth\npattern p a A4\nplay 0-7 p\n");
    EXPECT_EQ(RowsPerPhrase(score), 16);
    EXPECT_DOUBLE_EQ(PhraseStartSeconds(score, 0), 0.5);
    EXPECT_DOUBLE_EQ(PhraseStartSeconds(score, 1), 1.5);  // three phrases share 0.5 .. 3.5
    EXPECT_DOUBLE_EQ(PhraseStartSeconds(score, 3), 3.5);
    EXPECT_DOUBLE_EQ(PhraseStartSeconds(score, 4), 4.1);
    EXPECT_DOUBLE_EQ(PhraseStartSeconds(score, 5), 4.7);
    EXPECT_DOUBLE_EQ(PhraseStartSeconds(score, 7), 8.7);  // after the last pin: the tempo's 2 s
    EXPECT_EQ(score->phraseCount, 8);
}

// The show switches pictures at these bytes of the decoded stream; the score pins its phrases
// there, to the sample.
TEST(SoundtrackScore, TheShowsPhrasesStartOnItsPictureChanges) {
    static Score score;
    char error[512] = "";
    std::string path = std::string(KAMORA_SOURCE_DIR) + "/content/music/score.txt";
    ASSERT_TRUE(LoadScore(path.c_str(), &score, error, sizeof error)) << error;
    const struct { int phrase; long byte; } changes[] = {{4, 4850432}, {6, 7258240}, {7, 8472704},
        {10, 12091904}, {13, 15711616}, {15, 18122752}, {16, 19310592}, {19, 22945280}, {20, 24147624}};
    for (const auto& change : changes)
        EXPECT_EQ(llround(PhraseStartSeconds(&score, change.phrase) * 44100.0), change.byte / 4) << change.phrase;
    EXPECT_GE(score.lengthSeconds, 27885568 / 176400.0 + 0.25);
    EXPECT_GE(PhraseStartSeconds(&score, 23), 27885568 / 176400.0 - 1.0);  // the last phrase is the end
    EXPECT_LE(PhraseStartSeconds(&score, 23), 27885568 / 176400.0);
}

static double SineGainThroughLowPass(float frequency, float cutoff) {
    Filter filter = {};
    TuneFilter(&filter, cutoff, 0.0f, 44100.0f);
    double in = 0, out = 0;
    for (int i = 0; i < 44100; i++) {
        float x = sinf(2.0f * (float)M_PI * frequency * i / 44100.0f);
        float y = RunFilter(&filter, x, FILTER_LOW);
        if (i >= 4410) in += x * x, out += y * y;  // past the settling
    }
    return 10.0 * log10(out / in);
}

TEST(SoundtrackFilter, LowPassKeepsTheLowsAndCutsTheHighs) {
    EXPECT_NEAR(SineGainThroughLowPass(100.0f, 1000.0f), 0.0, 0.5);
    EXPECT_NEAR(SineGainThroughLowPass(1000.0f, 1000.0f), -6.0, 1.0);  // Q 0.5 at the cutoff
    EXPECT_LT(SineGainThroughLowPass(8000.0f, 1000.0f), -30.0);
    EXPECT_LT(SineGainThroughLowPass(20000.0f, 60000.0f), 0.5);  // a cutoff past Nyquist stays stable
}

TEST(SoundtrackSequencer, NotesStartOnTheirRowAndStopAfterTheirRelease) {
    // One bar of 2 s a phrase, 0.125 s a row; phrase 1 pinned to 1.0 s, so phrase 2 is at 3.0 s.
    Score* score = LoadText("music_rows", "tempo 120\nstart 0\ngrid 4 4 1\nsync 1 1.0\nlength 4.5\n"
                                          "delay 0.5 0\nreverb 0.5 0.5\n"
                                          "instrument k kick tone=60 decay=0.1\n"
                                          "instrument s synth wave=square attack=0 release=0.01\n"
                                          "pattern kk k X . . . . . . . . . . . . . . .\n"
                                          "pattern tone s A4 . . . ^ . . . . . . . . . . .\n"
                                          "play 1 kk\nplay 2 tone\n");
    std::vector<float> left, right;
    RenderScore(score, 44100, &left, &right);
    ASSERT_EQ(left.size(), 44100u * 9 / 2);
    long first = -1;
    for (size_t i = 0; i < left.size() && first < 0; i++)
        if (left[i] != 0.0f || right[i] != 0.0f) first = (long)i;
    EXPECT_EQ(first, 44100) << "phrase 1 is pinned to 1.0 s";
    auto energy = [&](double from, double to) {
        double sum = 0;
        for (size_t i = (size_t)(from * 44100); i < (size_t)(to * 44100); i++) sum += left[i] * left[i];
        return sum;
    };
    EXPECT_LT(energy(2.9, 3.0), 1e-6) << "the kick has died away before the note";
    EXPECT_GT(energy(3.05, 3.45), 100.0) << "the note sounds through its four rows";
    EXPECT_LT(energy(3.6, 4.0), 1e-6) << "and stops after its release";
}

TEST(SoundtrackMaster, LevelsLimitsAndFadesTheTrack) {
    const int rate = 44100;
    std::vector<float> left(rate * 4), right(rate * 4);
    for (size_t i = 0; i < left.size(); i++) {
        float tone = 0.05f * sinf(2.0f * (float)M_PI * 220.0f * i / rate);
        left[i] = right[i] = tone + (i % rate == 1000 ? 0.9f : 0.0f);  // one spike a second
    }
    MasterReport report = MasterTrack(&left, &right, rate, -12.0, -2.0, 0.5);
    float ceiling = powf(10.0f, -2.0f / 20.0f), peak = 0;
    double sum = 0;
    for (size_t i = 0; i < left.size(); i++) peak = std::max(peak, fabsf(left[i]));
    for (int i = rate; i < 2 * rate; i++) sum += left[i] * left[i];
    EXPECT_LE(peak, ceiling);
    EXPECT_NEAR(report.peakDb, 20.0 * log10(peak), 0.01);
    EXPECT_LT(report.limitedDb, -3.0) << "the spikes must have been limited";
    EXPECT_NEAR(10.0 * log10(sum / rate), -12.0, 1.0) << "the tone carries the level";
    EXPECT_NEAR(left.back(), 0.0f, 1e-6f) << "the fade ends in silence";
    EXPECT_NEAR(left[rate * 3 + 2000], right[rate * 3 + 2000], 1e-6f);
}
