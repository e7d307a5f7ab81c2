// The music of a span of demo frames as a WAV file, sample-exact with the frames.
#pragma once

#include <cstdint>
#include <string>

// Writes the decoded music heard from demo frame `firstFrame` up to (not including) `endFrame`
// at `fps`, in the stream's own format. Needs the show's music stream (after EnterDemo).
bool ExportMusicSpan(int64_t firstFrame, int64_t endFrame, int fps, const std::string& path);

// The byte position the show reads at demo frame `frame`: the instant frame/fps in the stream's
// format, rounded down to whole sample frames.
uint32_t MusicBytesAtFrame(int64_t frame, int fps, uint32_t bytesPerSecond, int blockAlign);
