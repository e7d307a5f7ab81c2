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

// True once the music (music/music_clock.h) has reached the show's end position or finished before it.
bool MusicReachedEnd();

// Tests replace the table of draw routines (null restores the show's own).
void UseTimeline(const TimelineSlot* slots);
