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

// Called in the sound device's callback: seconds from now until the chunk being handed out is
// heard, where the sound system says so (Web Audio: the buffer's playback time less the context's
// time, plus its base and output latency); negative elsewhere, where the device counts callbacks.
double SoundBufferLead();
// The browser's audio output calls back on the page's main thread, which a long load keeps busy:
// from this call on, buffers whose time has passed by the time they are asked for are played as
// silence instead of taking music that nobody would hear. Call it once the device is open;
// nothing elsewhere.
void SkipLateSoundBuffers();

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
