// The music of a span of demo frames as a WAV file, sample-exact with the frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes the decoded music heard from demo frame `firstFrame` up to (not including) `endFrame`
// at `fps`, in the stream's own format. Needs the show's music stream (after EnterDemo).
bool ExportMusicSpan(int64_t firstFrame, int64_t endFrame, int fps, const std::string& path);

// The byte position the show reads at demo frame `frame`: the instant frame/fps in the stream's
// format, rounded down to whole sample frames.
uint32_t MusicBytesAtFrame(int64_t frame, int fps, uint32_t bytesPerSecond, int blockAlign);

// The sound's sample rate and channel count. False before the show's music stream exists.
bool MusicFormat(int* rate, int* channels);
// The samples heard during demo frame `frame` (from its instant up to the next frame's) in the
// machine's byte order, silence past the end of the decoded music. False without the stream.
bool MusicOfFrame(int64_t frame, int fps, std::vector<uint8_t>* pcm);
