// Encodes the track to MP3 with LAME, including the encoder's gapless header (LAME/Info tag)
// so decoders drop the encoder delay and padding and restore the exact length.
#pragma once

#include <vector>

// Writes `path` (through a temporary file, removed on failure); prints progress. False with a
// message on standard error when encoding or writing fails.
bool WriteMp3(const char* path, const std::vector<float>& left, const std::vector<float>& right,
              int rate, int kbps);
