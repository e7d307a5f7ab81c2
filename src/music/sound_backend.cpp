// Placeholder back end until the real one lands: no output; a stream "plays" on the clock.
#include "music/sound_backend.h"

#include "platform/clock.h"

#include <cstdio>

static int LastError = 0;
static bool Playing = false;
static uint32_t PlayStartMs = 0;
static int64_t PlayStartFrame = 0;

uint32_t SoundGetVersion() { return kSoundInterfaceLevel; }
int SoundInit(int, int32_t, uint32_t, WindowHandle) { LastError = 0; return 1; }
int SoundStart() { return 1; }
int SoundSet3DFactors(float, float, float) { return 1; }
int SoundSetHFAbsorption(float) { return 1; }
int SoundSetReverb(int, float, float, float) { return 1; }

uint32_t SoundStreamCreateFile(int, const char* path, uint32_t, uint32_t, uint32_t) {
    FILE* file = fopen(path, "rb");
    if (!file) {
        LastError = 2;
        return 0;
    }
    fclose(file);
    LastError = 0;
    return 1;
}

int SoundErrorGetCode() { return LastError; }

int SoundStreamPlay(uint32_t stream, int, uint32_t) {
    if (!stream) return 0;
    Playing = true;
    PlayStartMs = ReadMillisecondClock();
    PlayStartFrame = VirtualFrame();
    return 1;
}

uint32_t SoundChannelGetPosition(uint32_t stream) {
    if (!stream || !Playing) return 0;
    if (VirtualClockRunning()) return (uint32_t)VirtualBytesSince(PlayStartFrame, 176400, 4);
    uint64_t bytes = (uint64_t)(ReadMillisecondClock() - PlayStartMs) * 176400 / 1000;
    return (uint32_t)(bytes & ~3ull);
}

bool SoundChannelEnded(uint32_t) { return false; }
int SoundGetDeviceDescription(int device, const char** description) {
    if (device != 0) return 0;
    *description = "Default output device";
    return 1;
}
int SoundStop() { return 1; }
int SoundFree() { Playing = false; return 1; }
int SoundStreamFree(uint32_t) { Playing = false; return 1; }
