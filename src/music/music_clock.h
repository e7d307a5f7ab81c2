// The music position: the show's master clock, read from the sound back end (which follows the
// virtual clock of platform/clock.h when that runs). The Timeline picks the Effect by it and the
// scroller's bars follow it; both read it here.
#pragma once

#include <cstdint>

// Bytes of decoded music heard so far; every read asks the source anew.
uint32_t ReadMusicPosition();
// True once the music has played all of its decoded audio.
bool MusicFinished();
// Plays the music again from its start; false when it cannot.
bool RestartMusic();

// Tests replace the music source (null restores the sound back end's music stream).
struct MusicSource {
    uint32_t (*position)();
    bool (*ended)();
    bool (*restart)();  // plays it again from 0 (the show's loop); may be null
};
void UseMusicSource(const MusicSource* source);
