#include "platform/clock.h"

#include <SDL2/SDL.h>
#ifdef __EMSCRIPTEN__
#include "platform/web/web_page.h"
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

static bool CounterAvailable = true;
static bool VirtualRunning = false;
static int VirtualRate = 60;
static int64_t VirtualFrameNumber = 0;

static const int64_t kVirtualFrequency = 1 << 20;
static const uint32_t kVirtualMillisecondOrigin = 1000000;

bool QueryCounterFrequency(int64_t* frequency) {
    if (!CounterAvailable) return false;
    *frequency = VirtualRunning ? kVirtualFrequency : (int64_t)SDL_GetPerformanceFrequency();
    return *frequency > 0;
}

bool QueryCounter(int64_t* value) {
    if (!CounterAvailable) return false;
    if (VirtualRunning) {
        // Rounded up: a reading never falls short of the frame's exact time.
        *value = (VirtualFrameNumber * kVirtualFrequency + VirtualRate - 1) / VirtualRate;
        return true;
    }
    *value = (int64_t)SDL_GetPerformanceCounter();
    return true;
}

uint32_t ReadMillisecondClock() {
    if (VirtualRunning)
        return kVirtualMillisecondOrigin + (uint32_t)(VirtualFrameNumber * 1000 / VirtualRate);
    return SDL_GetTicks();
}

void SleepMilliseconds(uint32_t ms) {
    if (!VirtualRunning) SDL_Delay(ms);
}

uint64_t ReadCycleCounter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#elif defined(__aarch64__)
    uint64_t value;
    asm volatile("mrs %0, cntvct_el0" : "=r"(value));
    return value;
#else
    return SDL_GetPerformanceCounter();
#endif
}

double SoundBufferLead() {
#ifdef __EMSCRIPTEN__
    return WebAudioBufferLead();
#else
    return -1;
#endif
}

void SkipLateSoundBuffers() {
#ifdef __EMSCRIPTEN__
    SkipLateWebAudioBuffers();
#endif
}

void SetCounterAvailable(bool available) { CounterAvailable = available; }

void StartVirtualClock(int fps) {
    VirtualRunning = true;
    VirtualRate = fps > 0 ? fps : 60;
    VirtualFrameNumber = 0;
}

void StopVirtualClock() { VirtualRunning = false; }
void SetVirtualFrame(int64_t frame) { VirtualFrameNumber = frame; }
bool VirtualClockRunning() { return VirtualRunning; }
int64_t VirtualFrame() { return VirtualFrameNumber; }
int VirtualFps() { return VirtualRate; }

int64_t VirtualBytesSince(int64_t from, int64_t bytesPerSecond, int blockAlign) {
    int64_t frames = VirtualFrameNumber - from;
    if (frames <= 0 || blockAlign <= 0) return 0;
    int64_t bytes = frames * bytesPerSecond / VirtualRate;
    return bytes - bytes % blockAlign;
}
