#include "host/timeline.h"

#include "effects/castle.h"
#include "effects/env_flares.h"
#include "effects/fog_flight.h"
#include "effects/frog_cubes.h"
#include "effects/opening_scene.h"
#include "effects/picture_wave.h"
#include "effects/scroller.h"
#include "effects/title_letters.h"
#include "effects/tube.h"
#include "gfx/gl.h"
#include "gfx/picture_area.h"
#include "gfx/window.h"
#include "host/debug_log.h"
#include "host/demo.h"
#include "host/demo_config.h"
#include "host/demo_loop.h"
#include "host/frame_timer.h"
#include "music/music.h"
#include "music/music_clock.h"
#include "music/sound_backend.h"
#include "platform/clock.h"
#include "render/mesh_draw.h"

#include <cmath>

const TimelineSlot Timeline[9] = {
    {0, 4850431, DrawOpeningScene},
    {4850432, 7258239, DrawEnvFlares},
    {7258240, 8472703, DrawTitleLetters},
    {8472704, 12091903, DrawFrogCubes},
    {12091904, 15711615, DrawTube},
    {15711616, 18122751, DrawFogFlight},
    {18122752, 22945279, DrawScroller},
    {22945280, 24147623, DrawCastle},
    {24147624, 27885567, DrawPictureWave},
};

bool LoadingDone = false;
bool DemoFailed = false;
int32_t EndScrollStart = -1;

static const TimelineSlot* ActiveTimeline = Timeline;

void UseTimeline(const TimelineSlot* slots) { ActiveTimeline = slots ? slots : Timeline; }

// A track shorter than the show ends it when it ends, instead of freezing on the last Effect.
bool MusicReachedEnd() { return ReadMusicPosition() >= kDemoEndPosition || MusicFinished(); }

static void SetProjection(double fieldOfView, double farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, kPictureAspect, 1, farPlane);  // the picture area is 4:3 on any screen
}

static void ClearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Each bound reads the position anew, so a frame on which the music crosses a boundary can draw
// both neighbours, the earlier first, and never neither.
static bool SlotHolds(int slot) {
    const TimelineSlot& s = ActiveTimeline[slot];
    if (slot == 0) return ReadMusicPosition() <= s.last;
    if (slot == 8) return ReadMusicPosition() >= s.first;
    return ReadMusicPosition() >= s.first && ReadMusicPosition() <= s.last;
}

static void DrawEndScroll() {
    if (EndScrollStart == -1) EndScrollStart = (int32_t)ReadMillisecondClock();
    uint32_t elapsed = ReadMillisecondClock() - (uint32_t)EndScrollStart;
    float rise = (float)(elapsed * 0.00012);
    float offset = rise - 1.4f;
    BeginAdditiveBlend();
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    glColor4f(1, 1, 1, 0.5f);
    glScalef(1, 4, 1);
    glBindTexture(GL_TEXTURE_2D, ScrollTexture.textureId);
    DrawMesh(&ScreenQuad, 0, offset, -1.5f, 0, 0, 0);
    glColor4f(1, 1, 1, 1);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    EndAdditiveBlend();
}

static bool RenderDemoFrame(int now) {
    if (DemoFailed) return false;
    if (MusicReachedEnd()) {
        // With "Loop demo" ticked the show starts again from its first demo frame.
        if (!DemoConfig.loop || !RestartDemo()) return false;
        now = (int)ReadFrameTimer();
    }
    SetProjection(90, 4000);
    ClearFrame();
    for (int slot = 0; slot < 9; ++slot) {
        if (!SlotHolds(slot)) continue;
        glPushMatrix();
        ActiveTimeline[slot].draw(now);
        glPopMatrix();
    }
    glPushMatrix();
    glPopMatrix();
    if (ReadMusicPosition() < kEndScrollStart) return true;
    DrawEndScroll();
    return true;
}

bool RenderFrame() {
    int now = (int)ReadFrameTimer();
    if (LoadingDone) return RenderDemoFrame(now);
    SetProjection(45, 3000);
    ClearFrame();
    glPushMatrix();
    DrawLoadingScreen(now);
    glPopMatrix();
    return true;
}

static void FailLoading(const char* text, const char* caption, bool stopSound) {
    UnloadDemo();
    if (stopSound) StopSound();
    DestroyDemoWindow();
    ShowMessageBox(nullptr, text, caption, MB_OK | MB_ICONWARNING);
    DemoFailed = true;
}

float LoadingAlpha(int now) {
    float a = (float)(now * 0.03);
    return a * 0.011904762f;  // reaches 1.0 exactly at 2800 ms
}

void DrawLoadingScreen(int now) {
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    float alpha = LoadingAlpha(now);
    glColor4f(1, 1, 1, alpha);
    glBindTexture(GL_TEXTURE_2D, LoadingPicture.textureId);
    DrawMesh(&ScreenQuad, 0, 0, -2.5f, 0, 0, 0);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
    if (!(alpha > 1.0f)) return;
    LoadingDone = true;
    if (!LoadDemo()) {
        FailLoading("Initialization error", "Error loading", false);
        return;
    }
    WriteDebugLog(" Playing music...");
    if (!SoundStreamPlay(MusicStream, 0, 0)) {
        WriteDebugLog(" CRASH: Unable to play music!");
        FailLoading("Unable to Play sound module!", "Bass error", true);
    }
}
