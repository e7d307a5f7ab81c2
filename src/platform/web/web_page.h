// The page the browser build runs in (web/index.html with web/page.js): what the show asks of it
// and what it tells it. Only the browser build has this module.
#pragma once

// What the viewer picked on the start screen: the setup dialog's choices.
struct PageChoices {
    int width, height;  // the size the picture is drawn at in full screen
    bool fullScreen;
    bool sound;
    bool loop;
};
PageChoices ReadPageChoices();

// The page's query: "?at=5,42&size=640x480" asks for still frames, "?bench" for frame times,
// "?ddebug" for the trace in the console. `name` without a value gives "" when present; null
// when absent.
const char* PageQueryValue(const char* name);

// Hands the browser its turn until the display's next refresh: the show's frames are paced by the
// display, and in a hidden tab (no refresh at all) the show waits here while the music plays on.
// The page counts it as a frame shown.
void WaitForDisplayRefresh();
// Hands the browser its turn without waiting for the display (long loops that draw nothing shown).
void YieldToBrowser();

// Still mode: the frame of moment `at` is on the canvas (the page sets data-state="drawn" and
// data-at on it). True once whoever reads the canvas has asked for the next moment
// (data-state="next").
void MarkCanvasDrawn(const char* at);
bool PageAsksNextMoment();

// Full screen through the browser's Fullscreen API, on the element that holds the canvas. The
// answer comes later: the request is taken as granted.
void RequestPageFullScreen(bool on);
// True once the page has asked the show to switch full screen since the last call: its button,
// or the browser left full screen on its own (Escape, its own controls) or refused it.
bool PageTogglesFullScreen();

// A message of the show (a message box elsewhere) shown on the page, never blocking.
void ShowPageMessage(const char* caption, const char* text, bool error);

// The show has ended with this exit code: the page returns to its start screen.
void TellPageShowEnded(int exitCode);
// A line for the page's test and bench modes (the browser's console).
void ReportToPage(const char* line);

// In the audio callback: seconds until the buffer being filled is heard (its playback time less
// the context's time, plus the context's base and output latency); -1 outside a callback.
double WebAudioBufferLead();
// SDL's Web Audio output asks for each buffer with an event on the main thread; from now on an
// event that comes after its buffer's time has passed, or again for a time already filled (the
// burst a busy thread gets), does not call back.
void SkipLateWebAudioBuffers();
