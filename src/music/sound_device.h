// The output device of the sound back end: an SDL audio device at the chosen mix rate, fed from
// the music's decoded PCM through an SDL_AudioStream (rate and channel conversion) and the
// software reverb. The device's callback runs on SDL's audio thread; everything here that the
// main thread calls takes the device lock.
#pragma once

#include "music/mp3_decode.h"

#include <cstdint>

// Opens device -1/0 (the default) or 1..n (by name) at `rate` Hz, paused. Returns 0, or the
// error code: 23 no device with that number, 3 the device cannot be opened.
int OpenSoundDevice(int device, int rate);
void CloseSoundDevice();
void PauseSoundDevice();
void ResumeSoundDevice();
void LockSoundDevice();
void UnlockSoundDevice();

// Starts feeding `pcm` to the device from its first byte; false when no converter can be made.
// The PCM must stay alive until StopDeviceMusic.
bool StartDeviceMusic(const DecodedPcm* pcm);
void StopDeviceMusic();

// Bytes of the music's own PCM heard so far, interpolated between callbacks on the counter:
// the chunk handed out at one callback is taken to play from two callbacks later (the driver
// queues one more: SDL's two-period ALSA set-up). Held still
// while the output is stopped; the decoded length once the device has played it all. A device
// that stops calling back for a quarter second no longer holds it back (the show goes on).
uint64_t DeviceMusicBytesHeard(bool outputRunning);

// Device frames of music handed to the driver so far (for tests and diagnostics).
int64_t DeviceMusicFramesOut();

// False for drivers that play nothing (SDL's dummy and disk drivers): their callbacks keep no
// true time, so the back end times the music on the real-time clock there, as for no sound.
bool SoundDeviceKeepsTime();
// Test hook: time the music by the device's callbacks even on such a driver.
void ForceSoundDeviceClock(bool forced);

// "Default output device" for 0, the SDL device names for 1..n, null after the last. Asking
// for 0 reads the list anew; OpenSoundDevice then finds each listed device by its name.
const char* SoundDeviceName(int device);

// The high-resolution counter the position is interpolated with.
uint64_t ReadSoundCounter();
// Sample frames at `rate` in `ticks` of that counter, without overflow for any run time.
uint64_t CounterTicksToFrames(uint64_t ticks, int rate);
