#include "music/sound_backend.h"

#include "music/reverb.h"
#include "music/sound_device.h"
#include "platform/clock.h"

#include <cstring>

static int LastError = 0;
static bool Initialised = false;
static bool NoSound = false;
static bool OutputRunning = false;
static int MixRate = 0;
static uint32_t NextHandle = 1;

// The one music stream. The clock fields of the no-sound device live here; the device's own
// feeding state lives in sound_device.cpp.
static uint32_t StreamHandle = 0;
static DecodedPcm StreamPcm;
static bool StreamPlaying = false;
static int64_t PlayFrame = 0;         // virtual frame at play start
static uint64_t SilentStart = 0;      // counter reading when the no-sound clock last started
static uint64_t SilentElapsed = 0;    // counter ticks run before the last stop
static uint32_t LastPosition = 0;

static int Fail(int code) {
    LastError = code;
    return 0;
}

static int Succeed() {
    LastError = kSoundOk;
    return 1;
}

static bool ValidStream(uint32_t stream) { return stream != 0 && stream == StreamHandle; }

uint32_t SoundGetVersion() { return kSoundInterfaceLevel; }

int SoundInit(int device, int32_t mixRate, uint32_t, WindowHandle) {
    if (Initialised) return Fail(kSoundErrorAlready);
    if (mixRate < 8000 || mixRate > 48000) return Fail(kSoundErrorRate);
    if (device == kNoSoundDevice) {
        NoSound = true;
    } else {
        int code = OpenSoundDevice(device, mixRate);
        if (code != kSoundOk) return Fail(code);
        NoSound = false;
    }
    Initialised = true;
    OutputRunning = false;
    MixRate = mixRate;
    return Succeed();
}

int SoundStart() {
    if (!Initialised) return Fail(kSoundErrorInit);
    if (!OutputRunning) {
        OutputRunning = true;
        SilentStart = ReadSoundCounter();
        if (!NoSound) ResumeSoundDevice();
    }
    return Succeed();
}

int SoundStop() {
    if (!Initialised) return Fail(kSoundErrorInit);
    if (OutputRunning) {
        OutputRunning = false;
        SilentElapsed += ReadSoundCounter() - SilentStart;
        if (!NoSound) PauseSoundDevice();
    }
    return Succeed();
}

int SoundSet3DFactors(float, float, float) { return Initialised ? Succeed() : Fail(kSoundErrorInit); }
int SoundSetHFAbsorption(float) { return Initialised ? Succeed() : Fail(kSoundErrorInit); }

int SoundSetReverb(int environment, float volume, float decay, float damping) {
    if (!Initialised) return Fail(kSoundErrorInit);
    if (environment < -1 || environment > 25) return Fail(kSoundErrorIllegalParameter);
    if (NoSound) return Succeed();
    LockSoundDevice();
    if (environment == -1)
        SwitchReverbOff();
    else
        SetReverbRoom(MixRate, volume, decay, damping);
    UnlockSoundDevice();
    return Succeed();
}

uint32_t SoundStreamCreateFile(int fromMemory, const char* path, uint32_t offset, uint32_t length,
                               uint32_t) {
    if (!Initialised) return Fail(kSoundErrorInit);
    if (fromMemory || offset || length) return Fail(kSoundErrorIllegalParameter);
    if (StreamHandle) return Fail(kSoundErrorNoChannel);
    DecodedPcm pcm;
    int code = DecodeMp3File(path, &pcm);
    if (code != kSoundOk) return Fail(code);
    StreamPcm = pcm;
    StreamPlaying = false;
    StreamHandle = NextHandle++;
    if (NextHandle == 0) NextHandle = 1;
    LastError = kSoundOk;
    return StreamHandle;
}

int SoundErrorGetCode() { return LastError; }

int SoundStreamPlay(uint32_t stream, int flush, uint32_t) {
    if (!Initialised) return Fail(kSoundErrorInit);
    if (!ValidStream(stream)) return Fail(kSoundErrorHandle);
    if (StreamPlaying && !flush) return Succeed();
    if (!OutputRunning) return Fail(kSoundErrorStart);
    if (!NoSound && !StartDeviceMusic(&StreamPcm)) return Fail(kSoundErrorMemory);
    StreamPlaying = true;
    LastPosition = 0;
    PlayFrame = VirtualFrame();
    SilentStart = ReadSoundCounter();
    SilentElapsed = 0;
    return Succeed();
}

// Bytes a device without a clock of its own (no sound, dummy driver) has "played": the real
// time since play, less the time the output was stopped.
static uint64_t SilentBytes() {
    uint64_t ticks = SilentElapsed;
    if (OutputRunning) ticks += ReadSoundCounter() - SilentStart;
    return CounterTicksToFrames(ticks, StreamPcm.rate) * StreamPcm.blockAlign;
}

static uint64_t CurrentBytes() {
    if (VirtualClockRunning())
        return (uint64_t)VirtualBytesSince(PlayFrame, PcmBytesPerSecond(&StreamPcm), StreamPcm.blockAlign);
    if (NoSound || !SoundDeviceKeepsTime()) return SilentBytes();
    return DeviceMusicBytesHeard(OutputRunning);
}

uint32_t SoundChannelGetPosition(uint32_t stream) {
    if (!ValidStream(stream)) return Fail(kSoundErrorHandle);
    LastError = kSoundOk;
    if (!StreamPlaying) return 0;
    uint64_t bytes = CurrentBytes();
    if (bytes > StreamPcm.length) bytes = StreamPcm.length;
    if (bytes > LastPosition) LastPosition = (uint32_t)bytes;  // never steps back
    return LastPosition;
}

bool SoundChannelEnded(uint32_t stream) {
    if (!ValidStream(stream) || !StreamPlaying) return false;
    return SoundChannelGetPosition(stream) >= StreamPcm.length;
}

int SoundGetDeviceDescription(int device, const char** description) {
    const char* text = SoundDeviceName(device);
    if (!text) return Fail(kSoundErrorDevice);
    if (description) *description = text;
    return Succeed();
}

static void ReleaseStream() {
    if (!StreamHandle) return;
    if (!NoSound) StopDeviceMusic();
    FreeDecodedPcm(&StreamPcm);
    StreamHandle = 0;
    StreamPlaying = false;
}

int SoundFree() {
    if (!Initialised) return Fail(kSoundErrorInit);
    ReleaseStream();
    if (!NoSound) CloseSoundDevice();
    SwitchReverbOff();
    Initialised = false;
    OutputRunning = false;
    NoSound = false;
    MixRate = 0;
    return Succeed();
}

int SoundStreamFree(uint32_t stream) {
    if (!ValidStream(stream)) return Fail(kSoundErrorHandle);
    ReleaseStream();
    return Succeed();
}

const DecodedPcm* SoundStreamPcm(uint32_t stream) { return ValidStream(stream) ? &StreamPcm : nullptr; }
int SoundDeviceRate() { return MixRate; }
