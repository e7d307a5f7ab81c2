// An offscreen framebuffer (colour and depth) that a picture is drawn into and then scaled onto
// the window, where the driver offers framebuffer objects with blitting (ARB, or EXT with its
// blit extension). Needs the GL context current.
#pragma once

// True when the current context can draw off screen. Looks the entry points up once a context.
bool OffscreenAvailable();
// A framebuffer of exactly width x height, cleared black when made; kept when the size is the one
// it already has. Leaves the window bound and, when it made one, the scissor test off.
bool PrepareOffscreen(int width, int height);
// Draws into the framebuffer (true) or into the window again (false).
void BindOffscreen(bool on);
// Copies the framebuffer, scaled with linear filtering, into the window's rectangle (x, y, w, h)
// and leaves the window bound. The scissor test is off afterwards.
void BlitOffscreen(int x, int y, int width, int height);
// Forgets the framebuffer and the entry points: the context is about to go (its objects go with it).
void ForgetOffscreen();
// Test hook: act as a driver without framebuffer objects.
void SetOffscreenRefused(bool refused);
