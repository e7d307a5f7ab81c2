// The music of a span of demo frames as a WAV file, sample-exact with the frames.
#pragma once

#include <cstdint>
#include <string>

// Writes the decoded music heard from demo frame `firstFrame` up to (not including) `endFrame`
// at `fps` as 16-bit PCM WAV.
bool ExportMusicSpan(int64_t firstFrame, int64_t endFrame, int fps, const std::string& path);

// Writes interleaved 16-bit PCM as a WAV file.
bool WriteWav(const std::string& path, const int16_t* samples, size_t frames, int channels, int rate);
