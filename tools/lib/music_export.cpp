#include "lib/music_export.h"

#include "music/mp3_decode.h"
#include "music/music.h"
#include "music/music_wav.h"
#include "music/sound_backend.h"

uint32_t MusicBytesAtFrame(int64_t frame, int fps, uint32_t bytesPerSecond, int blockAlign) {
    int64_t bytes = frame * (int64_t)bytesPerSecond / fps;
    return (uint32_t)(bytes - bytes % blockAlign);
}

bool ExportMusicSpan(int64_t firstFrame, int64_t endFrame, int fps, const std::string& path) {
    const DecodedPcm* pcm = SoundStreamPcm(MusicStream);
    if (!pcm) return false;
    const uint32_t perSecond = PcmBytesPerSecond(pcm);
    const int block = pcm->channels * 2;
    return WriteMusicWav(MusicStream, MusicBytesAtFrame(firstFrame, fps, perSecond, block),
                         MusicBytesAtFrame(endFrame, fps, perSecond, block), path.c_str());
}
