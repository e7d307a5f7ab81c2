#include "music/music.h"

#include "host/demo_config.h"
#include "music/sound_backend.h"

#include <cstdio>
#include <cstring>

uint32_t MusicStream = 0;
char SoundErrorText[1024];

static WindowHandle SoundOwner = nullptr;

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
    return SoundSetReverb(index - 1, 0, 0, 0) != 0;  // the preset table arrives with the back end
}

bool CreateMusicStream(const char* path) {
    MusicStream = SoundStreamCreateFile(0, path, 0, 0, 0x20000);
    if (SoundErrorGetCode() == 0) return true;
    ShowMessageBox(nullptr, "Unable to create stream file!", "Error", MB_OK | MB_ICONWARNING);
    DescribeSoundError();
    return false;
}

void DescribeSoundError() {
    int code = SoundErrorGetCode();
    if (code == 3) snprintf(SoundErrorText, sizeof SoundErrorText, "Can't find a free or a valid driver");
    if (code == 2) snprintf(SoundErrorText, sizeof SoundErrorText, "Unable to open file");
}

void StopSound() {
    SoundStop();
    SoundFree();
    if (MusicStream) {
        SoundStreamFree(MusicStream);
        MusicStream = 0;
    }
}
