// The LZ decoder and the extraction of one package entry to a file.
//
// A compressed entry is a sequence of groups: one flag byte, then up to eight items, flag bits
// used from bit 0 up. Bit 1: a literal byte. Bit 0: a match of two bytes b1 b2 that copies
// (b2 & 15) + 3 bytes from the absolute ring position b1 | (b2 & 0xF0) << 4. The 4096-byte ring
// starts as spaces with the write position at 4078; the stream has no end marker.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

enum { kRingSize = 4096, kMaxMatch = 18, kRingStart = kRingSize - kMaxMatch };

// The ring the decoder and the encoder share; the encoder's 17 extra bytes mirror positions
// 0 to 16 so that an 18-byte string near the end compares without wrapping.
extern unsigned char RingBuffer[kRingSize + kMaxMatch - 1];

// Keeps the window answering during long loops: pumps the platform's events when `progress`
// (bytes produced so far) has grown by 64 KiB, or 10 ms have passed, since the last pump.
// StartPumping begins a new count at progress 0.
void StartPumping();
void PumpMessages(int64_t progress);

// Decodes from the LZ input stream's position into the LZ output stream until the output holds
// `unpackedSize` bytes or the input ends. A match is always written whole, so a crafted stream
// may overshoot by up to 17 bytes.
void LZDecode(int32_t unpackedSize);

// Write `unpackedSize` bytes of the entry whose data starts at `dataOffset` in the package
// to `outputPath`. False (with a message box) when a file cannot be opened or written or the
// entry's data (`packedSize` bytes of LZ stream, or the stored bytes) or the package ends before
// the output is whole; no partial file is left behind then.
bool ExtractCompressedEntry(WindowHandle window, const char* packagePath, const char* outputPath,
                            int32_t dataOffset, int32_t packedSize, int32_t unpackedSize);
bool ExtractStoredEntry(WindowHandle window, const char* packagePath, const char* outputPath,
                        int32_t dataOffset, int32_t unpackedSize);
