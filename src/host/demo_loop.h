// "Loop demo": when the viewer ticked it, the show starts again from its first demo frame once
// the music reaches its end, instead of ending.
#pragma once

// Music from 0, FrameTimer restarted, the end scroll's start and every Effect's latched state
// back to their load-time values. False when the music cannot start again (or does not go back
// to its start): the show then ends as without the loop.
bool RestartDemo();

// Every Effect back to the state loading left, and the particle pool refilled.
void RestartEffects();
