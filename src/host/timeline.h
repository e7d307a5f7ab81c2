// The Timeline: the music position picks the Effect to draw; the FrameTimer animates it.
#pragma once

#include <cstdint>

typedef void (*EffectDraw)(int now);

struct TimelineSlot {
    uint32_t first;  // inclusive music byte positions
    uint32_t last;
    EffectDraw draw;
};

enum : uint32_t {
    kEndScrollStart = 24147624,  // the first position of the last slot
    kDemoEndPosition = 27885568, // the show ends at this position
};

extern const TimelineSlot Timeline[9];
extern bool LoadingDone;
extern bool DemoFailed;
extern int32_t EndScrollStart;

bool RenderFrame();
void DrawLoadingScreen(int now);
// The loading picture's alpha at `now`; loading starts on the first frame it exceeds 1.
float LoadingAlpha(int now);

// Reads the music position; every read asks the sound back end anew.
uint32_t ReadMusicPosition();
// True once the music has reached the show's end position or finished before it.
bool MusicReachedEnd();
// Plays the music again from its start; false when it cannot.
bool RestartMusic();

// Tests replace the table of draw routines and the music source (null restores the show's own).
struct MusicSource {
    uint32_t (*position)();
    bool (*ended)();
    bool (*restart)();  // plays it again from 0 (the show's loop); may be null
};
void UseTimeline(const TimelineSlot* slots);
void UseMusicSource(const MusicSource* source);
