#include "recording_timeline.h"

#include "host/timeline.h"

static SlotRecorder Recorder = nullptr;
static TimelineSlot Recording[9];

template <int N> static void Record(int now) {
    if (Recorder) Recorder(N + 1, now);
}

void UseRecordingTimeline(SlotRecorder recorder) {
    static const EffectDraw draws[9] = {Record<0>, Record<1>, Record<2>, Record<3>, Record<4>,
                                        Record<5>, Record<6>, Record<7>, Record<8>};
    Recorder = recorder;
    for (int i = 0; i < 9; ++i) Recording[i] = {Timeline[i].first, Timeline[i].last, draws[i]};
    UseTimeline(Recording);
}
