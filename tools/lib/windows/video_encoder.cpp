// The Windows toolbox's video encoder, for now: capture's PNG frames work as everywhere, a video
// file needs the ffmpeg pipe that only the POSIX toolbox has yet.
#include "lib/video_encoder.h"

#include <cstdio>

bool StartVideoEncoder(const VideoEncoderOptions&) {
    fprintf(stderr, "kamora-tool capture: this Windows build writes no video file yet; "
                    "capture --out FOLDER writes the frames as PNG files\n");
    return false;
}

bool SendVideoFrame(const uint8_t*, const uint8_t*, size_t) { return false; }

bool FinishVideoEncoder(bool) { return false; }
