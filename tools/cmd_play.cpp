// kamora-tool play: plays an MP3 through the show's sound back end and prints its position.
#include "tool_commands.h"

#include "music/music.h"
#include "music/sound_backend.h"
#include "platform/clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

static void PrintPlayUsage(FILE* out) {
    fprintf(out, "usage: kamora-tool play FILE.mp3 [--device N] [--rate HZ] [--eax INDEX] [--no-sound]\n"
                 "       kamora-tool play --devices\n\n"
                 "Plays FILE.mp3 once through the show's sound back end: prints its format as it starts,\n"
                 "'position <bytes>' once a second and 'length <bytes>' (the decoded length) at the end.\n"
                 "  --device N    output device: 0 the default, 1..n as listed by --devices\n"
                 "  --rate HZ     mix rate: 44100, 32000, 22050, 11025 or 8000 (default 44100)\n"
                 "  --eax INDEX   reverb preset of the sound dialog, 0 (None) to 26 (Psychotic)\n"
                 "  --no-sound    play on the no-sound device (silent, on the real-time clock)\n"
                 "  --devices     list the output devices and exit\n");
}

struct PlayOptions {
    const char* path = nullptr;
    int device = 0;
    int rate = 44100;
    int eax = -1;
    bool listDevices = false;
};

static bool ReadNumber(const char* text, int low, int high, int* value) {
    char* end = nullptr;
    long number = text ? strtol(text, &end, 10) : 0;
    if (!text || !*text || *end || number < low || number > high) return false;
    *value = (int)number;
    return true;
}

static bool ParsePlayOptions(int argc, char** argv, PlayOptions* options) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = true;
        if (!strcmp(arg, "--device")) ok = ReadNumber(next, -2, 1000, &options->device), ++i;
        else if (!strcmp(arg, "--rate")) ok = ReadNumber(next, 8000, 48000, &options->rate), ++i;
        else if (!strcmp(arg, "--eax")) ok = ReadNumber(next, 0, 26, &options->eax), ++i;
        else if (!strcmp(arg, "--no-sound")) options->device = kNoSoundDevice;
        else if (!strcmp(arg, "--devices")) options->listDevices = true;
        else if (arg[0] == '-' || options->path) ok = false;
        else options->path = arg;
        if (!ok) {
            const char* hint = next && arg[0] == '-' ? " (or its value)" : "";
            fprintf(stderr, "kamora-tool play: bad argument '%s'%s\n", arg, hint);
            return false;
        }
    }
    return options->listDevices || options->path;
}

static int ListDevices() {
    const char* name = nullptr;
    for (int device = 0; SoundGetDeviceDescription(device, &name); ++device) printf("%d %s\n", device, name);
    return 0;
}

static int FailPlay(const char* what) {
    DescribeSoundError();
    fprintf(stderr, "kamora-tool play: %s: %s\n", what, SoundErrorText);
    SoundFree();
    return 1;
}

// Plays until the back end reports the end, printing the position on each whole second.
static void PlayToEnd(uint32_t stream) {
    uint32_t start = ReadMillisecondClock();
    uint32_t nextReport = 1000;
    while (!SoundChannelEnded(stream)) {
        SleepMilliseconds(5);
        if (ReadMillisecondClock() - start >= nextReport) {
            printf("position %u\n", SoundChannelGetPosition(stream));
            fflush(stdout);
            nextReport += 1000;
        }
    }
}

static int RunPlay(int argc, char** argv) {
    PlayOptions options;
    if (WantsHelp(argc, argv)) {
        PrintPlayUsage(stdout);
        return 0;
    }
    if (!ParsePlayOptions(argc, argv, &options)) {
        PrintPlayUsage(stderr);
        return 2;
    }
    if (options.listDevices) return ListDevices();
    if (!SoundInit(options.device, options.rate, 0x18, nullptr))
        return FailPlay("Unable to initialize output device");
    SoundStart();
    if (options.eax >= 0 && !SetEaxPreset(options.eax)) return FailPlay("Unable to set EAX environment");
    uint32_t stream = SoundStreamCreateFile(0, options.path, 0, 0, 0x20000);
    if (SoundErrorGetCode() != 0) return FailPlay(options.path);
    const DecodedPcm* pcm = SoundStreamPcm(stream);
    printf("playing %s: %d Hz, %d channel%s, %u bytes\n", options.path, pcm->rate, pcm->channels,
           pcm->channels == 1 ? "" : "s", pcm->length);
    fflush(stdout);
    if (!SoundStreamPlay(stream, 0, 0)) return FailPlay("Unable to play");
    PlayToEnd(stream);
    printf("length %u\n", SoundStreamPcm(stream)->length);
    SoundStop();
    SoundFree();
    return 0;
}

static ToolCommand PlayCommand("play", "play an MP3 through the sound back end", RunPlay);
