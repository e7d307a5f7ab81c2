// A video file made by ffmpeg while frames are rendered: raw RGB frames go down one pipe and the
// matching 16-bit PCM down a second, so nothing but the final file touches the disk. ffmpeg runs
// without a shell, in its own process group (a Ctrl-C in the terminal reaches only the toolbox,
// which then ends the file cleanly; a second one is only noted, while a third, or a finish that
// writes nothing for 30 s, kills ffmpeg and gives the file up), and writes a hidden file beside the
// target that is renamed into place once it is complete. Hidden files that captures killed
// outright left in the target's folder are cleared at the start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct VideoEncoderOptions {
    std::string path;
    int width = 0;   // even, as yuv420p needs
    int height = 0;
    int fps = 60;
    int sampleRate = 44100;
    int channels = 2;
    int crf = 18;                        // x264's constant-quality scale, lower is better
    std::string speed;                   // x264's preset ("veryfast" ... "slow"); "": its default
    std::string encoder = "libx264";
    std::string audioBitrate = "320k";
};

// Starts ffmpeg. Prints why and returns false when it cannot (not installed, odd size, ...).
bool StartVideoEncoder(const VideoEncoderOptions& options);
// Hands one frame (width * height * 3 bytes, rows top to bottom) and the PCM heard during it to
// ffmpeg. False once ffmpeg has stopped reading (it failed; its own message is above).
bool SendVideoFrame(const uint8_t* rgb, const uint8_t* pcm, size_t pcmBytes);
// Ends both streams and waits for ffmpeg. With `keep` (the capture went well, or was stopped
// early on purpose) the file moves into place and the result says whether ffmpeg succeeded;
// otherwise, or when ffmpeg failed, nothing is left behind.
bool FinishVideoEncoder(bool keep);
