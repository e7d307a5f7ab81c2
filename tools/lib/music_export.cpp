#include "lib/music_export.h"

#include "music/mp3_decode.h"
#include "music/music.h"
#include "music/music_wav.h"
#include "music/sound_backend.h"

#include <algorithm>

uint32_t MusicBytesAtFrame(int64_t frame, int fps, uint32_t bytesPerSecond, int blockAlign) {
    int64_t bytes = frame * (int64_t)bytesPerSecond / fps;
    return (uint32_t)(bytes - bytes % blockAlign);
}

bool ExportMusicSpan(int64_t firstFrame, int64_t endFrame, int fps, const std::string& path) {
    const DecodedPcm* pcm = SoundStreamPcm(MusicStream);
    if (!pcm) return false;
    const uint32_t perSecond = PcmBytesPerSecond(pcm);
    return WriteMusicWav(MusicStream, MusicBytesAtFrame(firstFrame, fps, perSecond, pcm->blockAlign),
                         MusicBytesAtFrame(endFrame, fps, perSecond, pcm->blockAlign), path.c_str());
}

bool MusicFormat(int* rate, int* channels) {
    const DecodedPcm* pcm = SoundStreamPcm(MusicStream);
    if (!pcm) return false;
    *rate = pcm->rate;
    *channels = pcm->channels;
    return true;
}

bool MusicOfFrame(int64_t frame, int fps, std::vector<uint8_t>* out) {
    const DecodedPcm* pcm = SoundStreamPcm(MusicStream);
    if (!pcm) return false;
    const uint32_t perSecond = PcmBytesPerSecond(pcm);
    const uint32_t from = MusicBytesAtFrame(frame, fps, perSecond, pcm->blockAlign);
    const uint32_t to = MusicBytesAtFrame(frame + 1, fps, perSecond, pcm->blockAlign);
    out->assign(to - from, 0);
    if (from < pcm->length) std::copy(pcm->data + from, pcm->data + std::min(to, pcm->length), out->begin());
    return true;
}
