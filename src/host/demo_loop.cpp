#include "host/demo_loop.h"

#include "effects/castle.h"
#include "effects/env_flares.h"
#include "effects/fog_flight.h"
#include "effects/frog_cubes.h"
#include "effects/opening_scene.h"
#include "effects/particles.h"
#include "effects/picture_wave.h"
#include "effects/scroller.h"
#include "effects/title_letters.h"
#include "effects/tube.h"
#include "host/debug_log.h"
#include "host/frame_timer.h"
#include "host/timeline.h"
#include "music/music_clock.h"

bool RestartDemo() {
    WriteDebugLog(" Looping demo...");
    // A music that does not go back to its start would restart the show on every frame.
    if (!RestartMusic() || MusicReachedEnd()) {
        WriteDebugLog(" CRASH: Unable to restart music!");
        return false;
    }
    StartFrameTimer();
    EndScrollStart = -1;
    RestartEffects();
    return true;
}

void RestartEffects() {
    ResetOpeningScene();
    ResetEnvFlares();
    ResetTitleLetters();
    ResetFrogCubes();
    ResetTube();
    ResetFogFlight();
    ResetScroller();
    ResetCastle();
    ResetPictureWave();
    InitParticles();  // the fountain starts over as loading left it: a fresh pool
}
