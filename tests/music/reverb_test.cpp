// The software reverb behind the EAX presets: the tail follows decay, damping and volume.
#include "music/reverb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const int kRate = 44100;

// Plays one click through the room and returns the stereo output.
std::vector<float> ImpulseResponse(float seconds) {
    std::vector<float> sound((size_t)(kRate * seconds) * 2, 0.0f);
    sound[0] = sound[1] = 0.5f;
    ApplyReverb(sound.data(), (int)sound.size() / 2);
    return sound;
}

double Energy(const std::vector<float>& sound, float from, float to) {
    double sum = 0;
    for (size_t i = (size_t)(from * kRate) * 2; i < (size_t)(to * kRate) * 2 && i < sound.size(); ++i)
        sum += sound[i] * sound[i];
    return sum;
}

// Energy of the sample-to-sample differences: a measure of the high frequencies.
double Roughness(const std::vector<float>& sound, float from, float to) {
    double sum = 0;
    for (size_t i = (size_t)(from * kRate) * 2 + 2; i < (size_t)(to * kRate) * 2; ++i) {
        double step = sound[i] - sound[i - 2];
        sum += step * step;
    }
    return sum;
}

TEST(ReverbTest, OffLeavesTheSoundUntouched) {
    SetReverbRoom(kRate, 0.5f, 2.0f, 0.5f);
    SwitchReverbOff();
    EXPECT_FALSE(ReverbOn());
    std::vector<float> sound = ImpulseResponse(0.2f);
    EXPECT_EQ(sound[0], 0.5f);
    EXPECT_EQ(Energy(sound, 0.001f, 0.2f), 0.0);
    SetReverbRoom(kRate, 0.0f, 2.0f, 0.5f);  // "None" passes volume 0 and decay -1
    EXPECT_FALSE(ReverbOn());
    SetReverbRoom(kRate, 0.5f, -1.0f, -1.0f);
    EXPECT_FALSE(ReverbOn());
}

TEST(ReverbTest, TailFallsSixtyDecibelsOverTheDecayTime) {
    SetReverbRoom(kRate, 0.5f, 1.0f, 1.0f);
    std::vector<float> sound = ImpulseResponse(1.3f);
    double early = Energy(sound, 0.1f, 0.2f), late = Energy(sound, 1.1f, 1.2f);
    ASSERT_GT(early, 0.0);
    double dropDb = 10 * log10(early / late);
    EXPECT_NEAR(dropDb, 60.0, 8.0);

    SetReverbRoom(kRate, 0.5f, 0.1f, 1.0f);  // a padded cell is dead after a quarter second
    EXPECT_LT(Energy(ImpulseResponse(0.6f), 0.4f, 0.6f), 1e-9);
}

// After silence the tail ends in true zeros, never in subnormal floats that would slow the
// audio callback down for as long as the silence lasts.
TEST(ReverbTest, TailDiesToZeroWithoutSubnormals) {
    for (float damping : {1.0f, 0.3f}) {
        SetReverbRoom(kRate, 1.0f, 0.5f, damping);
        std::vector<float> sound = ImpulseResponse(20.0f);
        size_t subnormal = 0;
        for (float sample : sound) subnormal += std::fpclassify(sample) == FP_SUBNORMAL;
        EXPECT_EQ(subnormal, 0u) << damping;
        EXPECT_EQ(Energy(sound, 19.0f, 20.0f), 0.0) << damping;
    }
}

TEST(ReverbTest, DampingDullsTheTailAndVolumeScalesIt) {
    SetReverbRoom(kRate, 0.5f, 2.0f, 1.0f);
    std::vector<float> bright = ImpulseResponse(0.5f);
    SetReverbRoom(kRate, 0.5f, 2.0f, 0.0f);
    std::vector<float> dull = ImpulseResponse(0.5f);
    EXPECT_LT(Roughness(dull, 0.2f, 0.5f) / Energy(dull, 0.2f, 0.5f),
              0.5 * Roughness(bright, 0.2f, 0.5f) / Energy(bright, 0.2f, 0.5f));
    SetReverbRoom(kRate, 0.25f, 2.0f, 1.0f);
    std::vector<float> quiet = ImpulseResponse(0.5f);
    EXPECT_NEAR(Energy(quiet, 0.1f, 0.5f) / Energy(bright, 0.1f, 0.5f), 0.25, 0.01);
    SwitchReverbOff();
}

// Wet energy over dry energy for two seconds of noise over a bass line, and the clipped samples.
double WetRatio(float volume, float decay, int* clipped) {
    SetReverbRoom(kRate, volume, decay, 0.5f);
    std::vector<float> dry(kRate * 2 * 2), sound;
    uint32_t seed = 1;
    for (size_t i = 0; i < dry.size(); i += 2) {
        seed = seed * 1664525u + 1013904223u;
        float noise = ((seed >> 9) / 8388608.0f - 1.0f) * 0.25f;
        dry[i] = dry[i + 1] = noise + 0.4f * sinf(2 * (float)M_PI * 55 * (float)(i / 2) / kRate);
    }
    sound = dry;
    ApplyReverb(sound.data(), (int)sound.size() / 2);
    double wet = 0, plain = 0;
    *clipped = 0;
    for (size_t i = 0; i < dry.size(); ++i) {
        wet += (sound[i] - dry[i]) * (sound[i] - dry[i]);
        plain += dry[i] * dry[i];
        *clipped += fabsf(sound[i]) >= 1.0f;
    }
    return wet / plain;
}

TEST(ReverbTest, LevelFollowsTheVolumeWhateverTheDecayAndDoesNotClip) {
    int clipped = 0;
    double shortRoom = WetRatio(1.0f, 0.4f, &clipped);
    EXPECT_EQ(clipped, 0);
    double longRoom = WetRatio(1.0f, 7.841f, &clipped);  // "Mountains"
    EXPECT_EQ(clipped, 0);
    EXPECT_GT(shortRoom, 0.01) << "audible";
    EXPECT_LT(longRoom, 0.6) << "a long tail must not drown the music";
    // Without the normalisation the long room would be 11 dB louder than the short one.
    double differenceDb = 10 * log10(longRoom / shortRoom);
    EXPECT_LT(differenceDb, 3.0);
    EXPECT_GT(differenceDb, -9.0);
    SwitchReverbOff();
}

}  // namespace
