// Our sound back end: one routine per call the show makes into a sound library. Results and
// error codes follow the library the show was written for, so the callers read as designed.
// MP3 files are decoded by libmpg123 and played through SDL2 audio; one music stream at a time.
//
// Devices: -1 and 0 are the system's default output, 1..n the SDL output devices by name, -2 the
// no-sound device, which plays nothing but moves the position on the real-time clock.
//
// The position is the show's master clock: bytes of decoded audio (the file's own rate and
// channels, 16-bit; 176400 a second for 44.1 kHz stereo) heard so far, whatever the device rate.
// While the virtual clock runs (platform/clock.h) it is the virtual frame's time instead, so the
// toolbox can step the show frame by frame and take the sound from WriteMusicWav (music_wav.h).
#pragma once

#include "music/mp3_decode.h"
#include "platform/msgbox.h"

#include <cstdint>

enum { kSoundInterfaceLevel = 0x80000 };
enum { kNoSoundDevice = -2 };

// Error codes the back end reports (the message texts live with DescribeSoundError).
enum {
    kSoundOk = 0,
    kSoundErrorMemory = 1,
    kSoundErrorFileOpen = 2,
    kSoundErrorDriver = 3,
    kSoundErrorHandle = 5,
    kSoundErrorFormat = 6,
    kSoundErrorInit = 8,
    kSoundErrorStart = 9,
    kSoundErrorAlready = 14,
    kSoundErrorNoChannel = 18,
    kSoundErrorIllegalParameter = 20,
    kSoundErrorDevice = 23,
    kSoundErrorRate = 25,
};

uint32_t SoundGetVersion();
// Opens `device` at `mixRate` Hz (8000..48000); the output stays silent until SoundStart.
// Flags are accepted and ignored. Non-zero on success; fails with 14 while a device is open.
int SoundInit(int device, int32_t mixRate, uint32_t flags, WindowHandle window);
int SoundStart();
int SoundSet3DFactors(float distance, float rolloff, float doppler);  // accepted, no effect
int SoundSetHFAbsorption(float factor);                              // accepted, no effect
// Environment -1: dry. 0..25: a software reverb with the wet `volume`, `decay` seconds and
// EAX `damping` (see reverb.h). Other environments fail with code 20.
int SoundSetReverb(int environment, float volume, float decay, float damping);
// A stream from the file at `path`, decoded whole at once (the file may go right afterwards);
// success is judged by SoundErrorGetCode() returning 0. Only files (fromMemory 0), whole.
uint32_t SoundStreamCreateFile(int fromMemory, const char* path, uint32_t offset, uint32_t length,
                               uint32_t flags);
int SoundErrorGetCode();
// Plays the stream once from its start; a stream already playing carries on, unless `flush` is
// non-zero: then it starts again from its start (the show's loop).
int SoundStreamPlay(uint32_t stream, int flush, uint32_t flags);
// Bytes of decoded audio heard so far: 0 before playback, monotonic, never above the decoded
// length and equal to it once the stream has ended.
uint32_t SoundChannelGetPosition(uint32_t stream);
// True once a playing stream has played all of its decoded audio.
bool SoundChannelEnded(uint32_t stream);
// Device 0 is "Default output device", 1..n the SDL output devices; 0 after the last one.
int SoundGetDeviceDescription(int device, const char** description);
// Copies a device name into `capacity` bytes, cut on a whole UTF-8 character when it is longer.
void CopyDeviceName(char* to, int capacity, const char* name);
int SoundStop();  // pauses the output; the position holds still
int SoundFree();  // closes the device and frees the stream
int SoundStreamFree(uint32_t stream);

// For the toolbox: the stream's decoded audio (null for an unknown handle) and the device rate.
const DecodedPcm* SoundStreamPcm(uint32_t stream);
int SoundDeviceRate();
