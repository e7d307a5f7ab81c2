#include "music/music.h"

#include "host/demo_config.h"
#include "music/sound_backend.h"

#include <cstdio>

uint32_t MusicStream = 0;
char SoundErrorText[1024];

static WindowHandle SoundOwner = nullptr;

// The reverb rooms of the sound dialog's preset list, in list order: row 0 is "None" (dry), rows
// 1..26 the standard EAX 1.0 environments 0..25 with their wet volume, decay time and damping.
struct EaxPreset {
    int environment;
    float volume, decay, damping;
};

static const EaxPreset EaxPresets[27] = {
    {-1, 0.0f, -1.0f, -1.0f},     // None
    {0, 0.5f, 1.493f, 0.5f},      // Generic
    {1, 0.25f, 0.1f, 0.0f},       // Padded Cell
    {2, 0.417f, 0.4f, 0.666f},    // Room
    {3, 0.653f, 1.499f, 0.166f},  // Bathroom
    {4, 0.208f, 0.478f, 0.0f},    // Living Room
    {5, 0.5f, 2.309f, 0.888f},    // Stone Room
    {6, 0.403f, 4.279f, 0.5f},    // Auditorium
    {7, 0.5f, 3.961f, 0.5f},      // Concert Hall
    {8, 0.5f, 2.886f, 1.304f},    // Cave
    {9, 0.361f, 7.284f, 0.332f},  // Arena
    {10, 0.5f, 10.0f, 0.3f},      // Hangar
    {11, 0.153f, 0.259f, 2.0f},   // Carpeted Hallway
    {12, 0.361f, 1.493f, 0.0f},   // Hallway
    {13, 0.444f, 2.697f, 0.638f}, // Stone Corridor
    {14, 0.25f, 1.752f, 0.776f},  // Alley
    {15, 0.111f, 3.145f, 0.472f}, // Forest
    {16, 0.111f, 2.767f, 0.224f}, // City
    {17, 0.194f, 7.841f, 0.472f}, // Mountains
    {18, 1.0f, 1.499f, 0.5f},     // Quarry
    {19, 0.097f, 2.767f, 0.224f}, // Plain
    {20, 0.208f, 1.652f, 1.5f},   // Parking Lot
    {21, 0.652f, 2.886f, 0.25f},  // Sewer Pipe
    {22, 1.0f, 1.499f, 0.0f},     // Under Water
    {23, 0.875f, 8.392f, 1.388f}, // Drugged
    {24, 0.139f, 17.234f, 0.666f},// Dizzy
    {25, 0.486f, 7.563f, 0.806f}, // Psychotic
};

bool StartSound(WindowHandle owner) {
    if (SoundGetVersion() != kSoundInterfaceLevel) {
        ShowMessageBox(owner, "BASS version 0.8 was not loaded", "Incorrect BASS.DLL", MB_OK | MB_ICONWARNING);
        return false;
    }
    SoundOwner = owner;
    int ok;
    if (DemoConfig.noSound) {
        ok = SoundInit(kNoSoundDevice, DemoConfig.mixRate, 0x18, owner);
    } else {
        ok = SoundInit(DemoConfig.device, DemoConfig.mixRate, 0x18, owner);
        if (!ok) ok = SoundInit(DemoConfig.device, DemoConfig.mixRate, 0x14, owner);
    }
    char text[1024];
    if (!ok) {
        DescribeSoundError();
        snprintf(text, sizeof text, "Unable to initialize output device:\n%s", SoundErrorText);
        ShowMessageBox(owner, text, "Error", MB_OK | MB_ICONWARNING);
        return false;
    }
    SoundStart();
    if (DemoConfig.useEax) {
        SoundSet3DFactors(1.0f, 1.0f, 1.0f);
        SoundSetHFAbsorption(0.0f);
        if (!SetEaxPreset(DemoConfig.eaxPreset)) {
            DescribeSoundError();
            snprintf(text, sizeof text, "Unable to set EAX environment:\n%s", SoundErrorText);
            ShowMessageBox(owner, text, "Error", MB_OK | MB_ICONWARNING);
        }
    }
    return true;
}

bool SetEaxPreset(int index) {
    if (index < 0 || index > 26) {
        ShowMessageBox(SoundOwner, "EAX Envmode invalid", "Set EAX call", MB_SYSTEMMODAL | MB_ICONWARNING);
        return true;
    }
    const EaxPreset* row = &EaxPresets[index];
    return SoundSetReverb(row->environment, row->volume, row->decay, row->damping) != 0;
}

bool CreateMusicStream(const char* path) {
    MusicStream = SoundStreamCreateFile(0, path, 0, 0, 0x20000);
    if (SoundErrorGetCode() == 0) return true;
    ShowMessageBox(nullptr, "Unable to create stream file!", "Error", MB_OK | MB_ICONWARNING);
    DescribeSoundError();
    return false;
}

static const char* const SoundErrorTexts[31] = {
    nullptr,
    "Memory error",
    "Unable to open file",
    "Can't find a free or a valid driver",
    "The sample buffer was lost",
    "Invalid handle",
    "Unsupported format",
    "Invalid playback position",
    "BASS_Init() has not been successfully called!",
    "BASS_Start has not been successfully called!",
    "Can't initialize CD",
    "BASS_CDInit() has not been successfully called",
    "You must insert a CD in drive...",
    "Can't play the selected CD track",
    "Already initialized",
    "CD has no volume control",
    "Not paused",
    "Not an audio track",
    "Can't get a free channel",
    "An illegal type was specified",
    "An illegal parameter was specified",
    "No 3D Sound support",
    "No EAX support",
    "Illegal device number",
    "Not playing...",
    "Illegal sample rate",
    "A3D.DLL is not installed",
    "The stream is not a file stream (WAV/MP3)",
    nullptr,
    "No hardware voices available",
    "Synchronizers have been disabled",
};

// Codes without a text (0, 28, anything unknown) keep the previous text, so the next message
// repeats the last recognised error.
void DescribeSoundError() {
    int code = SoundErrorGetCode();
    const char* text = nullptr;
    if (code == -1) text = "Unknown error or sound device error...";
    if (code >= 0 && code <= 30) text = SoundErrorTexts[code];
    if (text) snprintf(SoundErrorText, sizeof SoundErrorText, "%s", text);
}

// Stop and free are harmless on a closed back end; the stream handle is forgotten once freed.
void StopSound() {
    SoundStop();
    SoundFree();
    if (MusicStream) {
        SoundStreamFree(MusicStream);
        MusicStream = 0;
    }
}
