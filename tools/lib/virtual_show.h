// The real show driven by the virtual clock, frame by frame, in a hidden window: the engine of
// render, capture and bench. Frame n of the demo is the picture the show displays n/fps seconds
// after its first demo frame, with every frame before it drawn in order.
//
// Frames that are not kept (the loading frame, a seek's) are drawn with the same calls in the same
// order, only with their pixels going nowhere (an empty scissor), so a seek costs the same at any
// size. KAMORA_FULL_SEEK=1 in the environment draws their pixels too, to check that; a picture
// drawn off screen is then still not scaled into the window nor given its bars, as kept frames are.
#pragma once

#include "lib/png.h"

#include <chrono>

#include <cstdint>
#include <string>

struct VirtualShowOptions {
    int width = 640;
    int height = 480;
    int fps = 60;
    // Draw the picture at this size off screen and scale it into the window's 4:3 area, as a
    // full screen at a lower picked mode does (0: natively at the area's size).
    int drawWidth = 0;
    int drawHeight = 0;
    int supersample = 1;  // frames drawn at this many times the size, averaged down on reading
    std::string package = "KaMora.ppk";
};

// Opens the hidden window, starts the no-sound device and pre-loads. Prints why on failure.
bool StartVirtualShow(const VirtualShowOptions& options);
// Draws the loading screen as it looks `ms` milliseconds after the timer start.
bool RenderLoadingFrame(int ms);
// Runs the loading frame (LoadDemo and the music start). The next frame is demo frame 0.
bool EnterDemo();
// Draws demo frame `frame` (frames must not go backwards). False once the show has ended.
bool RenderDemoFrame(int64_t frame);
// Draws every demo frame from the one after the last drawn up to `frame` - 1, not kept. A seek
// that takes more than a second shows its progress on stderr. False when the show ended or a
// termination signal arrived on the way.
bool SeekDemoFrame(int64_t frame);
// The virtual frame at which the music started (demo frame 0).
int64_t DemoOriginFrame();
// True when the picture is drawn off screen and scaled (a draw size smaller than the area).
bool VirtualShowScaled();
// How long the last frame's scale step took (milliseconds; 0 before any scaled frame).
double LastScaleMilliseconds();
// Reads the frame just drawn: the whole window, the 4:3 picture area between black bars.
void ReadFrame(RgbImage* image);
// The shutdown sequence of the show.
void StopVirtualShow();

// Wall seconds since `start`, for the toolbox's progress lines and time reports.
double SecondsSince(std::chrono::steady_clock::time_point start);
// One progress line on stderr, rewritten in place: `done` of `total` after `elapsed` seconds.
void ShowProgress(const char* what, int64_t done, int64_t total, double elapsed);

// The demo frame whose time is `seconds` (rounded down).
int64_t FrameAtSeconds(double seconds, int fps);
// Parses "640x480".
bool ParseSize(const char* text, int* width, int* height);
