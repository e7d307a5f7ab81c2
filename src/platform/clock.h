// Clocks: the high-resolution counter, the millisecond clock and the music position all pass
// through this one seam, so the toolbox and the tests can drive the show frame by frame.
#pragma once

#include <cstdint>

// The performance counter. False when the machine has none (or a test has switched it off).
bool QueryCounterFrequency(int64_t* frequency);
bool QueryCounter(int64_t* value);

// The multimedia millisecond clock (it wraps after 49.7 days like its model).
uint32_t ReadMillisecondClock();

void SleepMilliseconds(uint32_t ms);

// The processor's cycle counter (the time-stamp counter on x86; elsewhere the closest counter
// the machine has), for the setup dialog's clock-speed estimate.
uint64_t ReadCycleCounter();

// Seconds from the sound system's taking a sample to its leaving the output, where the sound
// system says so beyond the buffers the device counts itself: Web Audio's output latency in the
// browser build, 0 elsewhere.
double SoundOutputLatency();

// Test hook: pretend the machine has no performance counter.
void SetCounterAvailable(bool available);

// The virtual clock. While it runs, every clock reads the time of frame `frame` at `fps` frames a
// second: the counter ticks at 2^20 Hz (so its float resolution is exact) and is rounded up, so
// truncating a reading gives floor(frame * 1000 / fps) ms; the millisecond clock reads an
// arbitrary origin plus the same whole milliseconds.
void StartVirtualClock(int fps);
void StopVirtualClock();
void SetVirtualFrame(int64_t frame);
bool VirtualClockRunning();
int64_t VirtualFrame();
int VirtualFps();

// Bytes of decoded audio that `bytesPerSecond` plays between virtual frames `from` and the current
// one, rounded down to whole sample frames of `blockAlign` bytes. The music back end uses it to put
// its position on the same seam.
int64_t VirtualBytesSince(int64_t from, int64_t bytesPerSecond, int blockAlign);
