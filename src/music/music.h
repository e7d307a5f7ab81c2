// Music playback: sound start-up, the music stream, error texts and shutdown.
#pragma once

#include "platform/msgbox.h"

#include <cstdint>

extern uint32_t MusicStream;  // 0 until CreateMusicStream succeeds
extern char SoundErrorText[1024];

bool StartSound(WindowHandle owner);
bool CreateMusicStream(const char* path);
void DescribeSoundError();
bool SetEaxPreset(int index);
void StopSound();
