// Test MP3s made on the spot: a sine tone encoded with the LAME library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes `seconds` of a `hz` sine at `rate` Hz with `channels` channels to `path`, with the
// encoder's gapless tag, so a decoder that honours it gives back exactly
// ToneBytes(rate, channels, seconds) bytes of 16-bit PCM. False when encoding fails.
bool MakeToneMp3(const std::string& path, int rate, int channels, double seconds, double hz = 440);
uint32_t ToneBytes(int rate, int channels, double seconds);
// The same for any interleaved 16-bit `samples`.
bool MakePcmMp3(const std::string& path, int rate, int channels, const std::vector<short>& samples);

// A folder of the build tree for this test process's files.
std::string MusicTestFolder();
