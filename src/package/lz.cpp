#include "package/lz.h"

#include "package/lz_stream.h"
#include "platform/clock.h"
#include "platform/events.h"

#include <cstdio>
#include <cstring>

unsigned char RingBuffer[kRingSize + kMaxMatch - 1];

enum { kPumpBytes = 64 * 1024, kPumpMilliseconds = 10, kClockCheckBytes = 4096 };

static int64_t PumpedAt;      // progress at the last pump
static int64_t NextClockCheck;
static uint32_t PumpTime;

void StartPumping() {
    PumpedAt = 0;
    NextClockCheck = kClockCheckBytes;
    PumpTime = ReadMillisecondClock();
}

void PumpMessages(int64_t progress) {
    // Reading the clock costs more than a decode step, so it is read every 4 KiB only.
    if (progress < NextClockCheck) return;
    NextClockCheck = progress + kClockCheckBytes;
    if (progress - PumpedAt < kPumpBytes && ReadMillisecondClock() - PumpTime < kPumpMilliseconds) return;
    PumpAllMessages();
    PumpedAt = progress;
    PumpTime = ReadMillisecondClock();
}

void LZDecode(int32_t unpackedSize) {
    // Positions 4078 to 4095 get spaces too: a crafted stream may read them before writing them.
    memset(RingBuffer, ' ', kRingSize);
    unsigned r = kRingStart;
    unsigned flags = 0;
    const int64_t target = unpackedSize;
    int64_t produced = LZOutputLength();
    if (produced >= target) return;
    for (;;) {
        flags >>= 1;
        if (!(flags & 0x100)) {
            PumpMessages(produced);
            int c = ReadLZByte();
            if (c < 0 || produced == target) break;
            flags = (unsigned)c | 0xFF00;
        }
        if (flags & 1) {
            int c = ReadLZByte();
            if (c < 0) break;
            WriteLZByte(c);
            RingBuffer[r] = (unsigned char)c;
            r = (r + 1) & (kRingSize - 1);
            ++produced;
        } else {
            int b1 = ReadLZByte();
            if (b1 < 0) break;
            int b2 = ReadLZByte();
            if (b2 < 0) break;
            unsigned position = (unsigned)b1 | ((unsigned)(b2 & 0xF0) << 4);
            int length = (b2 & 0x0F) + 3;
            for (int k = 0; k < length; ++k) {
                unsigned char c = RingBuffer[(position + k) & (kRingSize - 1)];
                WriteLZByte(c);
                RingBuffer[r] = c;
                r = (r + 1) & (kRingSize - 1);
            }
            produced += length;
        }
        if (produced >= target) break;
    }
}

enum { kMessageCapacity = 2 * 1024 + 256 };

static bool FailExtraction(WindowHandle window, const char* outputPath, const char* caption, unsigned style,
                           const char* format, const char* path) {
    char text[kMessageCapacity];
    snprintf(text, sizeof text, format, path);
    CloseLZInput();
    if (outputPath) {
        CloseLZOutput();
        RemoveLZOutputFile(outputPath);
    }
    ShowMessageBox(window, text, caption, style);
    return false;
}

// Closes both streams; a file that could not be written in full is removed and reported.
static bool FinishExtraction(WindowHandle window, const char* outputPath, const char* caption, unsigned style,
                             const char* writeFailure) {
    CloseLZInput();
    if (CloseLZOutput()) return true;
    RemoveLZOutputFile(outputPath);
    return FailExtraction(window, nullptr, caption, style, writeFailure, outputPath);
}

bool ExtractCompressedEntry(WindowHandle window, const char* packagePath, const char* outputPath,
                            int32_t dataOffset, int32_t packedSize, int32_t unpackedSize) {
    const unsigned style = MB_OK | MB_ICONERROR;
    if (!OpenLZInput(packagePath))
        return FailExtraction(window, nullptr, "LZ Error", style, "Unable to open %s!", packagePath);
    if (!CreateLZOutput(outputPath))
        return FailExtraction(window, nullptr, "LZ Error", style, "Unable to create %s!", outputPath);
    StartPumping();
    bool placed = packedSize >= 0 && SeekLZInput(dataOffset);
    LimitLZInput((int64_t)dataOffset + packedSize);  // a damaged stream must not decode its neighbours
    if (placed) LZDecode(unpackedSize);
    // A stream cut short must never hand a half file to a loader.
    if (!placed || LZOutputLength() < unpackedSize || LZInput.failed)
        return FailExtraction(window, outputPath, "LZ Error", style,
                              "The compressed data in %s ends early!\nThe package is damaged.", packagePath);
    return FinishExtraction(window, outputPath, "LZ Error", style, "Unable to write %s!");
}

bool ExtractStoredEntry(WindowHandle window, const char* packagePath, const char* outputPath,
                        int32_t dataOffset, int32_t unpackedSize) {
    const unsigned style = MB_SYSTEMMODAL | MB_ICONERROR;
    if (!OpenLZInput(packagePath))
        return FailExtraction(window, nullptr, "Extract Error", style,
                              " Error: Unable to open %s !\nPlease report this bug.", packagePath);
    bool placed = SeekLZInput(dataOffset);
    LimitLZInput((int64_t)dataOffset + unpackedSize);
    if (!CreateLZOutput(outputPath))
        return FailExtraction(window, nullptr, "Extract Error", style, " Error: Unable to create %s !", outputPath);
    StartPumping();
    int64_t copied = 0;
    while (placed && copied < unpackedSize) {
        int c = ReadLZByte();
        if (c < 0) break;
        WriteLZByte(c);
        if ((++copied & (kClockCheckBytes - 1)) == 0) PumpMessages(copied);
    }
    if (!placed || copied < unpackedSize || LZInput.failed)
        return FailExtraction(window, outputPath, "Extract Error", style,
                              " Error: The package %s ends inside an entry !\nThe package is damaged.", packagePath);
    return FinishExtraction(window, outputPath, "Extract Error", style, " Error: Unable to write %s !");
}
