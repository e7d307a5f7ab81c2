// Our sound back end: one routine per call the show makes into a sound library. Results and
// error codes follow the library the show was written for, so the callers read as designed.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

enum { kSoundInterfaceLevel = 0x80000 };
enum { kNoSoundDevice = -2 };

uint32_t SoundGetVersion();
int SoundInit(int device, int32_t mixRate, uint32_t flags, WindowHandle window);  // non-zero: ok
int SoundStart();
int SoundSet3DFactors(float distance, float rolloff, float doppler);
int SoundSetHFAbsorption(float factor);
int SoundSetReverb(int environment, float volume, float decay, float damping);
// A stream from the file at `path`; success is judged by SoundErrorGetCode() returning 0.
uint32_t SoundStreamCreateFile(int fromMemory, const char* path, uint32_t offset, uint32_t length,
                               uint32_t flags);
int SoundErrorGetCode();
int SoundStreamPlay(uint32_t stream, int flush, uint32_t flags);
// Bytes of decoded audio played so far: 0 before playback, never above the decoded length.
uint32_t SoundChannelGetPosition(uint32_t stream);
// True once a playing stream has played all of its decoded audio.
bool SoundChannelEnded(uint32_t stream);
int SoundGetDeviceDescription(int device, const char** description);
int SoundStop();
int SoundFree();
int SoundStreamFree(uint32_t stream);
