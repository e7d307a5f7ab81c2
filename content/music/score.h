// The score: tempo grid, instruments, patterns and the order list, read from a text file.
// The format is described at the top of content/music/score.txt.
#pragma once

#include <cstdint>

enum InstrumentKind { KIND_SYNTH, KIND_KICK, KIND_SNARE, KIND_CLAP, KIND_HAT, KIND_CRASH, KIND_TOM };
enum Wave { WAVE_SAW, WAVE_SQUARE, WAVE_TRIANGLE, WAVE_SINE, WAVE_NOISE };
enum RampTarget { RAMP_CUTOFF, RAMP_GAIN };

const int MAX_INSTRUMENTS = 32;
const int MAX_PATTERNS = 160;
const int MAX_PATTERN_STEPS = 256;
const int MAX_CHORD_NOTES = 6;
const int MAX_ORDER_LINES = 96;
const int MAX_LINE_PATTERNS = 16;
const int MAX_LINE_RAMPS = 4;
const int MAX_PHRASES = 64;

struct Instrument {
    char name[32];
    InstrumentKind kind;
    Wave wave;
    int unison;            // oscillators per note, spread in pitch and across the stereo field
    float detune;          // spread of the unison oscillators, semitones
    float sub;             // level of a square one octave down
    float attack, decay, sustain, release;  // amplitude envelope (seconds, level)
    float cutoff, resonance;                // low-pass filter: Hz, 0..1
    float envMod, filterDecay;              // filter envelope: Hz added at the note start, decay s
    float glide;                            // seconds to slide from the previous note (0: none)
    float vibrato;                          // semitones of a 5.5 Hz vibrato after the attack
    float tone;                             // drums: base frequency in Hz
    float gain, pan, width;                 // level, -1..1 position, unison stereo width 0..1
    float delaySend, reverbSend;
    float duck;                             // how far a kick pushes this instrument down, 0..1
};

struct Step {
    uint8_t notes[MAX_CHORD_NOTES];  // MIDI note numbers
    uint8_t noteCount;               // 0: nothing starts here
    bool off;                        // releases the sounding notes
    float velocity;
};

struct Pattern {
    char name[32];
    int instrument;
    int length;  // steps; the pattern repeats to fill a phrase
    Step steps[MAX_PATTERN_STEPS];
};

struct Ramp {
    int instrument;
    RampTarget target;
    float from, to;  // over the phrase; the value holds afterwards until another ramp
};

// A pattern as the order list plays it: on its own instrument or another, maybe transposed.
struct PlayedPattern {
    int pattern;
    int instrument;
    int transpose;  // semitones
};

// One line of the order list: patterns (and ramps) that play in phrases first..last.
struct OrderLine {
    int first, last;
    PlayedPattern patterns[MAX_LINE_PATTERNS];
    int patternCount;
    Ramp ramps[MAX_LINE_RAMPS];
    int rampCount;
};

struct Score {
    double tempo;          // beats per minute
    double startSeconds;   // where phrase 0 begins
    int rowsPerBeat, beatsPerBar, barsPerPhrase;
    double lengthSeconds;  // rendered length
    double fadeSeconds;    // fade to silence at the very end
    double level;          // loudness target of the mix: RMS of its loud part, dBFS
    double ceiling;        // limiter ceiling, dBFS
    double delayBeats, delayFeedback;
    double reverbSize, reverbDamping;
    double syncSeconds[MAX_PHRASES];  // pinned phrase starts, < 0 where not pinned
    Instrument instruments[MAX_INSTRUMENTS];
    int instrumentCount;
    Pattern patterns[MAX_PATTERNS];
    int patternCount;
    OrderLine order[MAX_ORDER_LINES];
    int orderCount;
    int phraseCount;  // one past the last phrase the order list names
};

// Reads the score at `path` into `score`; on failure writes "file:line: what" into `error`.
bool LoadScore(const char* path, Score* score, char* error, int errorSize);

// Parses one note name ("A3", "C#4", "Bb2") to a MIDI number; -1 when it is not one.
int ParseNoteName(const char* text);

// Start of `phrase` in seconds: pinned starts are kept, phrases in between share the gap.
double PhraseStartSeconds(const Score* score, int phrase);
int RowsPerPhrase(const Score* score);
