// The music as a WAV file instead of a device: the toolbox's frame-by-frame capture takes its
// sound from here while the virtual clock drives the position (see sound_backend.h).
#pragma once

#include <cstdint>

// Writes the decoded audio of `stream` between byte positions `fromByte` (inclusive) and
// `toByte` (exclusive) to `path` as a 16-bit PCM WAV in the stream's own rate and channels.
// Positions are the music position's bytes: they are clamped to the decoded length and rounded
// down to whole sample frames. A capture at F frames a second takes, for frame n, the span
// between the positions the virtual clock gives for frames n and n + 1 (VirtualBytesSince with
// the stream's bytes a second, from the frame playback started on).
// False (and no file left behind) for an unknown stream, toByte < fromByte or a write failure.
bool WriteMusicWav(uint32_t stream, uint32_t fromByte, uint32_t toByte, const char* path);
