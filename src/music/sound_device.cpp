#include "music/sound_device.h"

#include "music/reverb.h"
#include "music/sound_backend.h"
#include "platform/clock.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

enum { kMaxDevices = 32, kNameCapacity = 128, kFeedPiece = 16384 };
static const int kOutputFrameBytes = 2 * (int)sizeof(float);  // float stereo

static bool SubsystemUp = false;
static SDL_AudioDeviceID Device = 0;
static int DeviceRate = 0;
static char DeviceNames[kMaxDevices][kNameCapacity];
static int DeviceNameCount = 0;
static bool PacedBySleep = false;     // the driver plays nothing and paces itself by sleeping
// A device that has not called back for this long counts as stalled (see HeardFramesNow): a
// quarter second, or a second in a browser, whose main thread calls back and is busy for longer
// than a quarter second at times (a load, the burst of events a busy thread missed).
static int StallDivisor = 4;
static bool DeviceClockForced = false;

// Feeding state, shared with the callback under the device lock.
static const DecodedPcm* Music = nullptr;
static SDL_AudioStream* Converter = nullptr;
static uint32_t FedBytes = 0;
static bool Flushed = false;
static int64_t OutFrames = 0;          // device frames of music handed out
static int64_t TotalOutFrames = -1;    // known once the converter has given its last frame
// SDL opens ALSA with two periods of one buffer each and calls back as soon as its previous
// chunk has gone into the period that just fell free: at a callback the driver holds the last
// chunk handed out, and the one before that starts to sound. So the chunk that plays from a
// callback on is the one handed out three callbacks before, counting this one.
// SDL's PulseAudio output writes a period only once the server's buffer has room for a whole
// one, and its PipeWire output hands each chunk to the graph's next cycle: with either, the chunk
// handed out one callback before is the one that starts to sound. (Through PipeWire's PulseAudio
// front end the sound comes about 9 ms later than that, through a PulseAudio daemon on time;
// SDL's driver cannot tell the two apart, and two callbacks would put the daemon's 12 ms early.)
static int PlayDelay = 2;              // callbacks between handing a chunk out and hearing it
// HandedEnds[i] is OutFrames as it stood i + 1 callbacks ago.
static int64_t HandedEnds[3] = {0, 0, 0};
static int64_t PlayingFrom = 0, PlayingTo = 0;
static uint64_t PlayingStamp = 0;      // counter at the last callback
static uint64_t EndStamp = 0;          // counter when the music's end is heard, once all is handed out
// Where the sound system says when the chunk just handed out is heard (Web Audio), the counter
// ticks from the callback to that moment; the chunk then plays on from the one before.
static int64_t PlayingLead = 0;
static bool CallbackRaised = false;    // the callback's thread has asked for a high priority
static int64_t HeldFrames = 0;         // frames heard when the output was stopped
// A device that went away (unplugged, its server gone) is called back by SDL at the pace of a
// sleep, like the dummy driver; from the moment it is noticed the position runs on the counter.
static uint64_t LostStamp = 0;         // counter when the loss was noticed (or play resumed since)
static int64_t LostFrames = 0;         // frames heard at that moment

uint64_t ReadSoundCounter() { return SDL_GetPerformanceCounter(); }

// Whole seconds first: ticks * rate would overflow after a few minutes on a nanosecond counter.
uint64_t CounterTicksToFrames(uint64_t ticks, int rate) {
    uint64_t frequency = SDL_GetPerformanceFrequency();
    return ticks / frequency * (uint64_t)rate + ticks % frequency * (uint64_t)rate / frequency;
}

static bool BringUpAudio() {
    if (!SubsystemUp) SubsystemUp = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    return SubsystemUp;
}

static void ResetFeeding() {
    FedBytes = 0;
    Flushed = false;
    OutFrames = 0;
    TotalOutFrames = -1;
    HandedEnds[0] = HandedEnds[1] = HandedEnds[2] = 0;
    PlayingFrom = PlayingTo = 0;
    PlayingStamp = 0;
    EndStamp = 0;
    PlayingLead = 0;
    HeldFrames = 0;
    LostStamp = 0;
}

// Pulls up to `frames` converted frames of music, feeding the converter as it runs dry.
static int PullMusic(float* out, int frames) {
    int want = frames * kOutputFrameBytes;
    while (!Flushed && SDL_AudioStreamAvailable(Converter) < want) {
        uint32_t piece = Music->length - FedBytes;
        if (piece > kFeedPiece) piece = kFeedPiece;
        if (piece && SDL_AudioStreamPut(Converter, Music->data + FedBytes, (int)piece) == 0)
            FedBytes += piece;
        else
            FedBytes = Music->length;  // a converter failure ends the music rather than stalling
        if (FedBytes >= Music->length) {
            SDL_AudioStreamFlush(Converter);
            Flushed = true;
        }
    }
    int got = SDL_AudioStreamGet(Converter, out, want);
    if (got < 0) got = 0;
    got /= kOutputFrameBytes;
    if (Flushed && TotalOutFrames < 0 && SDL_AudioStreamAvailable(Converter) == 0)
        TotalOutFrames = OutFrames + got;
    return got;
}

static void FillOutput(void*, Uint8* bytes, int length) {
    // SDL runs the audio threads of its own at the highest priority it may set; its PipeWire
    // output calls back on PipeWire's loop thread instead, left at the program's priority, where
    // a busy machine's other work delays it (measured: 100 ms and more) and the sound falls into
    // gaps. The thread asks for the same priority, once.
    if (!CallbackRaised) {
        CallbackRaised = true;
        SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL);
    }
    memset(bytes, 0, length);
    float* out = (float*)bytes;
    int frames = length / kOutputFrameBytes;
    if (Music && Converter) OutFrames += PullMusic(out, frames);
    ApplyReverb(out, frames);
    const double lead = SoundBufferLead();
    if (lead >= 0) {
        PlayingFrom = HandedEnds[0];
        PlayingTo = OutFrames;
    } else {
        PlayingFrom = HandedEnds[PlayDelay];
        PlayingTo = HandedEnds[PlayDelay - 1];
    }
    HandedEnds[2] = HandedEnds[1];
    HandedEnds[1] = HandedEnds[0];
    HandedEnds[0] = OutFrames;
    PlayingStamp = SDL_GetPerformanceCounter();
    PlayingLead = lead >= 0 ? (int64_t)(lead * (double)SDL_GetPerformanceFrequency()) : 0;
    // Once everything has been handed out the position runs on to the end from the moment the
    // last chunk ends, whatever comes after (a lead would otherwise hold it short for ever).
    const bool last = TotalOutFrames >= 0 && PlayingFrom >= TotalOutFrames;
    EndStamp = last ? (EndStamp ? EndStamp : PlayingStamp + PlayingLead) : 0;
}

// About 12 ms a buffer: short enough for the position to follow the sound closely.
static int BufferFrames(int rate) {
    int frames = 64;
    while (frames * 2 <= rate / 80) frames *= 2;
    return frames;
}

void CopyDeviceName(char* to, int capacity, const char* name) {
    size_t length = strlen(name);
    if (length >= (size_t)capacity) {
        length = (size_t)capacity - 1;
        while (length > 0 && ((unsigned char)name[length] & 0xC0) == 0x80) --length;  // inside a character
    }
    memcpy(to, name, length);
    to[length] = 0;
}

// The SDL name of device `device` (1..n). Once the list has been read (the sound dialog), the
// number means the device listed under it, found again by name wherever it sits now: devices
// may have come or gone since. Null when it is not there any more.
static const char* DeviceSdlName(int device) {
    int count = SDL_GetNumAudioDevices(0);
    if (DeviceNameCount == 0) return device <= count ? SDL_GetAudioDeviceName(device - 1, 0) : nullptr;
    if (device > DeviceNameCount) return nullptr;
    char listed[kNameCapacity];
    for (int i = 0; i < count; ++i) {
        const char* name = SDL_GetAudioDeviceName(i, 0);
        if (!name) continue;
        CopyDeviceName(listed, kNameCapacity, name);
        if (strcmp(listed, DeviceNames[device - 1]) == 0) return name;
    }
    return nullptr;
}

int OpenSoundDevice(int device, int rate) {
    if (device < -2) return 23;
    if (!BringUpAudio()) return 3;
    const char* name = nullptr;
    if (device >= 1 && !(name = DeviceSdlName(device))) return 23;
    const char* driver = SDL_GetCurrentAudioDriver();
    // Web Audio asks for each buffer on the browser's main thread, between the show's frames; the
    // device takes the AudioContext's own rate, so that every buffer it asks for is one callback
    // (SDL's own conversion would call back 0 to 2 times a buffer), and buffers of 4096 frames
    // (85 ms at 48 kHz): a busy machine keeps the thread from them for longer than 1024 last.
    const bool browser = driver && !strcmp(driver, "emscripten");
    SDL_AudioSpec want, have;
    SDL_zero(want);
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = (Uint16)(browser ? 4096 : BufferFrames(rate));
    want.callback = FillOutput;
    CallbackRaised = false;
    // Elsewhere SDL converts to the hardware's own rate.
    Device = SDL_OpenAudioDevice(name, 0, &want, &have, browser ? SDL_AUDIO_ALLOW_FREQUENCY_CHANGE : 0);
    if (!Device) return 3;
    DeviceRate = browser ? have.freq : rate;
    if (browser) SkipLateSoundBuffers();
    StallDivisor = browser ? 1 : 4;
    PacedBySleep = driver && (!strcmp(driver, "dummy") || !strcmp(driver, "disk"));
    PlayDelay = driver && (!strcmp(driver, "pulseaudio") || !strcmp(driver, "pipewire")) ? 1 : 2;
    return 0;
}

void CloseSoundDevice() {
    if (Device) SDL_CloseAudioDevice(Device);  // waits for a running callback to finish
    Device = 0;
    DeviceRate = 0;
    if (SubsystemUp) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SubsystemUp = false;
}

// SDL's dummy and disk drivers output nothing and pace their callbacks with a millisecond sleep
// that oversleeps under load (10 % slow and worse was seen), so their timing is not the truth.
bool SoundDeviceKeepsTime() { return Device && (!PacedBySleep || DeviceClockForced); }
void ForceSoundDeviceClock(bool forced) { DeviceClockForced = forced; }

void LockSoundDevice() {
    if (Device) SDL_LockAudioDevice(Device);
}

void UnlockSoundDevice() {
    if (Device) SDL_UnlockAudioDevice(Device);
}

// Between callbacks the position runs on the counter up to the end of the playing chunk. A device
// that stops calling back (unplugged, stuck driver) must not freeze the show: after a quarter
// second without a callback the position goes on by the counter alone, as without sound.
static int64_t HeardFramesNow() {
    uint64_t now = SDL_GetPerformanceCounter();
    if (LostStamp) return LostFrames + (int64_t)CounterTicksToFrames(now - LostStamp, DeviceRate);
    uint64_t ticks = now - PlayingStamp;
    // From the moment the playing chunk starts to sound (before it, the one before it plays).
    const uint64_t start = EndStamp ? EndStamp : PlayingStamp + PlayingLead;
    int64_t heard = now >= start ? PlayingFrom + (int64_t)CounterTicksToFrames(now - start, DeviceRate)
                                 : PlayingFrom - (int64_t)CounterTicksToFrames(start - now, DeviceRate);
    bool stalled = ticks > SDL_GetPerformanceFrequency() / StallDivisor;
    heard = heard > PlayingTo && !stalled ? PlayingTo : heard;
    if (heard < 0) heard = 0;
    if (SDL_GetAudioDeviceStatus(Device) == SDL_AUDIO_STOPPED) {  // what SDL reports for a lost device
        LostStamp = now;
        LostFrames = heard;
    }
    return heard;
}

void PauseSoundDevice() {
    if (!Device) return;
    SDL_LockAudioDevice(Device);
    HeldFrames = HeardFramesNow();
    SDL_UnlockAudioDevice(Device);
    SDL_PauseAudioDevice(Device, 1);
}

void ResumeSoundDevice() {
    if (!Device) return;
    SDL_LockAudioDevice(Device);
    PlayingFrom = HeldFrames;  // carry on from where the sound stopped
    PlayingStamp = SDL_GetPerformanceCounter();
    PlayingLead = 0;
    if (LostStamp) {
        LostFrames = HeldFrames;
        LostStamp = PlayingStamp;
    }
    SDL_UnlockAudioDevice(Device);
    SDL_PauseAudioDevice(Device, 0);
}

bool StartDeviceMusic(const DecodedPcm* pcm) {
    if (!Device) return false;
    SDL_AudioStream* converter =
        SDL_NewAudioStream(AUDIO_S16SYS, (Uint8)pcm->channels, pcm->rate, AUDIO_F32SYS, 2, DeviceRate);
    if (!converter) return false;
    SDL_LockAudioDevice(Device);
    if (Converter) SDL_FreeAudioStream(Converter);
    Converter = converter;
    Music = pcm;
    ResetFeeding();
    PlayingStamp = SDL_GetPerformanceCounter();
    SDL_UnlockAudioDevice(Device);
    return true;
}

void StopDeviceMusic() {
    LockSoundDevice();
    Music = nullptr;
    if (Converter) SDL_FreeAudioStream(Converter);
    Converter = nullptr;
    ResetFeeding();
    UnlockSoundDevice();
}

int64_t DeviceMusicFramesOut() {
    LockSoundDevice();
    int64_t frames = OutFrames;
    UnlockSoundDevice();
    return frames;
}

uint64_t DeviceMusicBytesHeard(bool outputRunning) {
    if (!Device || !Music) return 0;
    SDL_LockAudioDevice(Device);
    int64_t heard = outputRunning ? HeardFramesNow() : HeldFrames;
    uint64_t bytes;
    if (TotalOutFrames >= 0 && heard >= TotalOutFrames)
        bytes = Music->length;
    else
        bytes = (uint64_t)(heard * Music->rate / DeviceRate) * Music->blockAlign;
    SDL_UnlockAudioDevice(Device);
    return bytes;
}

// Device names are copied when device 0 is asked for, so a dialog walking 0, 1, 2, ... sees one
// consistent list even if a device comes or goes meanwhile.
const char* SoundDeviceName(int device) {
    if (device == 0) {
        DeviceNameCount = 0;
        int count = BringUpAudio() ? SDL_GetNumAudioDevices(0) : 0;
        for (int i = 0; i < count && DeviceNameCount < kMaxDevices; ++i) {
            const char* name = SDL_GetAudioDeviceName(i, 0);
            CopyDeviceName(DeviceNames[DeviceNameCount++], kNameCapacity, name ? name : "Output device");
        }
        return "Default output device";
    }
    if (device < 1 || device > DeviceNameCount) return nullptr;
    return DeviceNames[device - 1];
}
