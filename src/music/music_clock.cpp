#include "music/music_clock.h"

#include "music/music.h"
#include "music/sound_backend.h"

static const MusicSource* ActiveMusic = nullptr;

void UseMusicSource(const MusicSource* source) { ActiveMusic = source; }

uint32_t ReadMusicPosition() {
    return ActiveMusic ? ActiveMusic->position() : SoundChannelGetPosition(MusicStream);
}

bool MusicFinished() { return ActiveMusic ? ActiveMusic->ended() : SoundChannelEnded(MusicStream); }

bool RestartMusic() {
    if (ActiveMusic) return ActiveMusic->restart && ActiveMusic->restart();
    return SoundStreamPlay(MusicStream, 1, 0) != 0;
}
