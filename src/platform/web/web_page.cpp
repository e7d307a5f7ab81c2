#include "platform/web/web_page.h"

#include <emscripten.h>

#include <cstdlib>
#include <cstring>

// page.js hands each instance of the show `Module.page`: the viewer's choices, the query, the
// element that holds the canvas and what to call when the show speaks or ends.

EM_JS(int, PageChoiceValue, (const char* name), {
    var value = Module.page.choices[UTF8ToString(name)];
    return value === true ? 1 : value | 0;
});

PageChoices ReadPageChoices() {
    PageChoices choices;
    choices.width = PageChoiceValue("width");
    choices.height = PageChoiceValue("height");
    choices.fullScreen = PageChoiceValue("fullScreen") != 0;
    choices.sound = PageChoiceValue("sound") != 0;
    choices.loop = PageChoiceValue("loop") != 0;
    if (choices.width <= 0 || choices.height <= 0) choices.width = 640, choices.height = 480;
    return choices;
}

EM_JS(char*, PageQueryCopy, (const char* name), {
    var value = new URLSearchParams(Module.page.query).get(UTF8ToString(name));
    if (value === null) return 0;
    var size = lengthBytesUTF8(value) + 1;
    var copy = _malloc(size);
    stringToUTF8(value, copy, size);
    return copy;
});

const char* PageQueryValue(const char* name) {
    // Few names are asked, each once or twice: every answer is kept for the program's life.
    enum { kKept = 16 };
    static const char* names[kKept];
    static char* values[kKept];
    static int count = 0;
    for (int i = 0; i < count; ++i)
        if (strcmp(names[i], name) == 0) return values[i];
    char* value = PageQueryCopy(name);
    if (count < kKept) names[count] = name, values[count++] = value;
    return value;
}

EM_ASYNC_JS(void, WaitForAnimationFrame, (), {
    Module.page.frameShown();
    await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});

void WaitForDisplayRefresh() { WaitForAnimationFrame(); }

void YieldToBrowser() { emscripten_sleep(0); }

EM_JS(void, JsMarkCanvasDrawn, (const char* at), {
    var canvas = Module.canvas;
    canvas.dataset.at = UTF8ToString(at);
    canvas.dataset.state = "drawn";
});

void MarkCanvasDrawn(const char* at) { JsMarkCanvasDrawn(at); }

EM_JS(int, PageAsksNextMomentJs, (), { return Module.canvas.dataset.state === "next" ? 1 : 0; });

bool PageAsksNextMoment() { return PageAsksNextMomentJs() != 0; }

EM_JS(void, JsRequestFullScreen, (int on), { Module.page.fullScreen(!!on); });

void RequestPageFullScreen(bool on) { JsRequestFullScreen(on ? 1 : 0); }

EM_JS(int, JsTogglesFullScreen, (), {
    var toggle = Module.page.toggleFullScreen;
    Module.page.toggleFullScreen = false;
    return toggle ? 1 : 0;
});

bool PageTogglesFullScreen() { return JsTogglesFullScreen() != 0; }

EM_JS(void, JsShowMessage, (const char* caption, const char* text, int error), {
    Module.page.message(UTF8ToString(caption), UTF8ToString(text), !!error);
});

void ShowPageMessage(const char* caption, const char* text, bool error) { JsShowMessage(caption, text, error ? 1 : 0); }

EM_JS(void, JsShowEnded, (int exitCode), { Module.page.ended(exitCode); });

void TellPageShowEnded(int exitCode) { JsShowEnded(exitCode); }

EM_JS(void, JsReport, (const char* line), { Module.page.report(UTF8ToString(line)); });

void ReportToPage(const char* line) { JsReport(line); }

EM_JS(double, JsBufferLead, (), {
    var lead = Module.SDL2 && Module.SDL2.kamoraLead;
    return lead === undefined || lead === null ? -1 : lead;
});

double WebAudioBufferLead() { return JsBufferLead(); }

EM_JS(void, JsSkipLateBuffers, (), {
    var audio = Module.SDL2 && Module.SDL2.audio;
    var node = audio && audio.scriptProcessorNode;
    if (!node || node.kamoraSkipsLate) return;
    var context = Module.SDL2.audioContext;
    var fill = node.onaudioprocess;
    var next = 0;  // the earliest time the next buffer that plays can have
    node.kamoraSkipsLate = true;
    node.onaudioprocess = function(e) {
        // Chrome fires the events a busy thread missed in a burst, all with the same time: only
        // the first of them is heard. One whose time has passed is not heard at all.
        var buffer = e.outputBuffer;
        var seconds = buffer.length / buffer.sampleRate;
        if (e.playbackTime < next) return;
        if (e.playbackTime + seconds < context.currentTime) {
            for (var c = 0; c < buffer.numberOfChannels; ++c) buffer.getChannelData(c).fill(0);
            return;
        }
        next = e.playbackTime + seconds / 2;
        var latency = (context.baseLatency || 0) + (context.outputLatency || 0);
        Module.SDL2.kamoraLead = Math.max(0, e.playbackTime - context.currentTime) + latency;
        fill(e);
        Module.SDL2.kamoraLead = null;
    };
});

void SkipLateWebAudioBuffers() { JsSkipLateBuffers(); }
