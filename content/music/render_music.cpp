// kamora-music: renders the soundtrack from its score and encodes it as MP3.
//   kamora-music <score.txt> <music.mp3>
#include <cmath>
#include <cstdio>
#include <vector>

#include "master.h"
#include "mp3_writer.h"
#include "score.h"
#include "sequencer.h"

static const int SAMPLE_RATE = 44100, BIT_RATE = 256;

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: kamora-music <score.txt> <music.mp3>\n");
        return 2;
    }
    static Score score;  // large: keep it off the stack
    char error[512];
    if (!LoadScore(argv[1], &score, error, sizeof error)) {
        fprintf(stderr, "music: %s\n", error);
        return 1;
    }
    std::vector<float> left, right;
    RenderScore(&score, SAMPLE_RATE, &left, &right);
    MasterReport report = MasterTrack(&left, &right, SAMPLE_RATE, score.level, score.ceiling, score.fadeSeconds);
    printf("music: level %+.1f dB, peak %.2f dBFS, limiter down to %.1f dB\n", report.gainDb, report.peakDb,
           report.limitedDb);
    if (!WriteMp3(argv[2], left, right, SAMPLE_RATE, BIT_RATE)) return 1;
    printf("music: wrote %s (%.2f s)\n", argv[2], (double)left.size() / SAMPLE_RATE);
    return 0;
}
