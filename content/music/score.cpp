#include "score.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// The reader works on statements: a line that starts in the first column begins one, indented
// lines continue it. Each token keeps its line number for the error text.
struct Token {
    std::string text;
    int line;
};
typedef std::vector<Token> Statement;

static const char* ScorePath;
static char* ErrorText;
static int ErrorSize;

static bool Fail(int line, const char* what, const std::string& detail) {
    snprintf(ErrorText, ErrorSize, "%s:%d: %s \"%s\"", ScorePath, line, what, detail.c_str());
    return false;
}

static bool ReadStatements(const char* path, std::vector<Statement>* statements) {
    FILE* file = fopen(path, "r");
    if (!file) return Fail(0, "cannot open the score", path);
    char buffer[4096];
    int line = 0;
    while (fgets(buffer, sizeof buffer, file)) {
        line++;
        // "#" starts a comment at the start of a word; inside one it is a sharp ("C#4").
        for (char* c = buffer; *c; c++)
            if (*c == '#' && (c == buffer || c[-1] == ' ' || c[-1] == '\t')) {
                *c = 0;
                break;
            }
        bool continues = buffer[0] == ' ' || buffer[0] == '\t';
        std::vector<Token> tokens;
        for (char* word = strtok(buffer, " \t\r\n"); word; word = strtok(nullptr, " \t\r\n"))
            tokens.push_back({word, line});
        if (tokens.empty()) continue;
        if (!continues || statements->empty()) statements->push_back({});
        statements->back().insert(statements->back().end(), tokens.begin(), tokens.end());
    }
    fclose(file);
    return true;
}

static bool ParseNumber(const Token& token, double* value) {
    char* end = nullptr;
    *value = strtod(token.text.c_str(), &end);
    if (end == token.text.c_str() || *end != 0 || !std::isfinite(*value))
        return Fail(token.line, "not a number:", token.text);
    return true;
}

int ParseNoteName(const char* text) {
    static const int semitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text[0] < 'A' || text[0] > 'G') return -1;
    int note = semitone[text[0] - 'A'];
    const char* p = text + 1;
    if (*p == '#') note++, p++;
    else if (*p == 'b') note--, p++;
    if (*p < '0' || *p > '8' || p[1] != 0) return -1;
    return note + 12 * (*p - '0' + 1);
}

static int FindInstrument(const Score* score, const std::string& name) {
    for (int i = 0; i < score->instrumentCount; i++)
        if (name == score->instruments[i].name) return i;
    return -1;
}

static int FindPattern(const Score* score, const std::string& name) {
    for (int i = 0; i < score->patternCount; i++)
        if (name == score->patterns[i].name) return i;
    return -1;
}

static bool CopyName(const Token& token, char* name) {
    if (token.text.size() >= 32) return Fail(token.line, "name too long:", token.text);
    strcpy(name, token.text.c_str());
    return true;
}

static bool ParseKind(const Token& token, InstrumentKind* kind) {
    static const char* names[] = {"synth", "kick", "snare", "clap", "hat", "crash", "tom"};
    for (int i = 0; i < 7; i++)
        if (token.text == names[i]) return *kind = (InstrumentKind)i, true;
    return Fail(token.line, "unknown instrument kind", token.text);
}

static bool ParseWave(const Token& token, const std::string& value, Wave* wave) {
    static const char* names[] = {"saw", "square", "triangle", "sine", "noise"};
    for (int i = 0; i < 5; i++)
        if (value == names[i]) return *wave = (Wave)i, true;
    return Fail(token.line, "unknown wave", value);
}

// One "key=value" setting of an instrument.
static bool ParseSetting(const Token& token, Instrument* in) {
    size_t equals = token.text.find('=');
    if (equals == std::string::npos) return Fail(token.line, "expected key=value, got", token.text);
    std::string key = token.text.substr(0, equals), text = token.text.substr(equals + 1);
    if (key == "wave") return ParseWave(token, text, &in->wave);
    struct Field { const char* key; float* value; } fields[] = {
        {"detune", &in->detune}, {"sub", &in->sub}, {"attack", &in->attack},
        {"decay", &in->decay}, {"sustain", &in->sustain}, {"release", &in->release},
        {"cutoff", &in->cutoff}, {"resonance", &in->resonance}, {"envmod", &in->envMod},
        {"fdecay", &in->filterDecay}, {"glide", &in->glide}, {"vibrato", &in->vibrato},
        {"tone", &in->tone}, {"gain", &in->gain}, {"pan", &in->pan}, {"width", &in->width},
        {"delay", &in->delaySend}, {"reverb", &in->reverbSend}, {"duck", &in->duck}};
    double value;
    if (!ParseNumber({text, token.line}, &value)) return false;
    if (key == "unison") {
        if (value < 1 || value > 7) return Fail(token.line, "unison must be 1..7:", text);
        return in->unison = (int)value, true;
    }
    for (const Field& field : fields)
        if (key == field.key) return *field.value = (float)value, true;
    return Fail(token.line, "unknown instrument setting", key);
}

static bool ParseInstrument(const Statement& s, Score* score) {
    if (s.size() < 3) return Fail(s[0].line, "instrument needs a name and a kind:", s[0].text);
    if (score->instrumentCount == MAX_INSTRUMENTS) return Fail(s[0].line, "too many instruments", s[1].text);
    if (FindInstrument(score, s[1].text) >= 0) return Fail(s[1].line, "instrument defined twice:", s[1].text);
    Instrument* in = &score->instruments[score->instrumentCount];
    *in = Instrument{};
    in->unison = 1;
    in->attack = 0.002f, in->decay = 0.3f, in->sustain = 0.7f, in->release = 0.1f;
    in->cutoff = 20000, in->tone = 100, in->gain = 0.5f, in->width = 0.5f;
    if (!CopyName(s[1], in->name) || !ParseKind(s[2], &in->kind)) return false;
    for (size_t i = 3; i < s.size(); i++)
        if (!ParseSetting(s[i], in)) return false;
    score->instrumentCount++;
    return true;
}

// A step: "." or "-" holds, "^" releases, x X o are drum hits, notes may be chords "A3+C4+E4",
// "!" after a note accents it and "'" softens it. "|" separates bars for the eye.
static bool ParseStep(const Token& token, Step* step) {
    *step = Step{};
    const std::string& t = token.text;
    if (t == "." || t == "-") return true;
    if (t == "^") return step->off = true, true;
    if (t == "x" || t == "X" || t == "o") {
        step->notes[0] = 60, step->noteCount = 1;
        step->velocity = t == "X" ? 1.0f : t == "x" ? 0.75f : 0.45f;
        return true;
    }
    std::string body = t;
    step->velocity = 0.8f;
    if (body.back() == '!') step->velocity = 1.0f, body.pop_back();
    else if (body.back() == '\'') step->velocity = 0.5f, body.pop_back();
    size_t start = 0;
    while (start <= body.size()) {
        size_t plus = body.find('+', start);
        std::string name = body.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        int note = ParseNoteName(name.c_str());
        if (note < 0) return Fail(token.line, "not a note or step:", t);
        if (step->noteCount == MAX_CHORD_NOTES) return Fail(token.line, "chord has too many notes:", t);
        step->notes[step->noteCount++] = (uint8_t)note;
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return true;
}

static bool ParsePattern(const Statement& s, Score* score) {
    if (s.size() < 3) return Fail(s[0].line, "pattern needs a name and an instrument:", s[0].text);
    if (score->patternCount == MAX_PATTERNS) return Fail(s[0].line, "too many patterns", s[1].text);
    if (FindPattern(score, s[1].text) >= 0) return Fail(s[1].line, "pattern defined twice:", s[1].text);
    Pattern* pattern = &score->patterns[score->patternCount];
    pattern->length = 0;
    if (!CopyName(s[1], pattern->name)) return false;
    pattern->instrument = FindInstrument(score, s[2].text);
    if (pattern->instrument < 0) return Fail(s[2].line, "unknown instrument", s[2].text);
    for (size_t i = 3; i < s.size(); i++) {
        if (s[i].text == "|") continue;
        if (pattern->length == MAX_PATTERN_STEPS) return Fail(s[i].line, "pattern too long:", s[1].text);
        if (!ParseStep(s[i], &pattern->steps[pattern->length++])) return false;
    }
    if (pattern->length == 0) return Fail(s[0].line, "pattern has no steps:", s[1].text);
    score->patternCount++;
    return true;
}

// "~pad.cutoff=300>4000": a ramp over the phrase.
static bool ParseRamp(const Token& token, const Score* score, Ramp* ramp) {
    size_t dot = token.text.find('.'), equals = token.text.find('='), arrow = token.text.find('>');
    if (dot == std::string::npos || equals < dot || arrow < equals || arrow == std::string::npos)
        return Fail(token.line, "expected ~instrument.setting=from>to, got", token.text);
    ramp->instrument = FindInstrument(score, token.text.substr(1, dot - 1));
    if (ramp->instrument < 0) return Fail(token.line, "unknown instrument in ramp", token.text);
    std::string target = token.text.substr(dot + 1, equals - dot - 1);
    if (target == "cutoff") ramp->target = RAMP_CUTOFF;
    else if (target == "gain") ramp->target = RAMP_GAIN;
    else return Fail(token.line, "only cutoff and gain can ramp:", token.text);
    double from, to;
    if (!ParseNumber({token.text.substr(equals + 1, arrow - equals - 1), token.line}, &from)) return false;
    if (!ParseNumber({token.text.substr(arrow + 1), token.line}, &to)) return false;
    ramp->from = (float)from, ramp->to = (float)to;
    return true;
}

static bool ParsePhraseRange(const Token& token, int* first, int* last) {
    char* end = nullptr;
    *first = *last = (int)strtol(token.text.c_str(), &end, 10);
    if (*end == '-') *last = (int)strtol(end + 1, &end, 10);
    if (end == token.text.c_str() || *end != 0 || *first < 0 || *last < *first || *last >= MAX_PHRASES)
        return Fail(token.line, "bad phrase range", token.text);
    return true;
}

// "themeA", "themeA@pluck" (on another instrument), "themeA+12" or "themeA@pluck-12".
static bool ParsePlayed(const Token& token, const Score* score, PlayedPattern* played) {
    std::string name = token.text, instrument;
    played->transpose = 0;
    size_t sign = name.find_last_of("+-");
    if (sign != std::string::npos && sign > 0) {
        char* end = nullptr;
        long semitones = strtol(name.c_str() + sign, &end, 10);
        if (*end != 0 || semitones < -48 || semitones > 48) return Fail(token.line, "bad transposition", token.text);
        played->transpose = (int)semitones;
        name.resize(sign);
    }
    size_t at = name.find('@');
    if (at != std::string::npos) instrument = name.substr(at + 1), name.resize(at);
    played->pattern = FindPattern(score, name);
    if (played->pattern < 0) return Fail(token.line, "unknown pattern", name);
    played->instrument = score->patterns[played->pattern].instrument;
    if (at != std::string::npos) {
        played->instrument = FindInstrument(score, instrument);
        if (played->instrument < 0) return Fail(token.line, "unknown instrument", instrument);
    }
    return true;
}

static bool ParsePlay(const Statement& s, Score* score) {
    if (s.size() < 2) return Fail(s[0].line, "play needs a phrase range", s[0].text);
    if (score->orderCount == MAX_ORDER_LINES) return Fail(s[0].line, "order list too long", s[0].text);
    OrderLine* line = &score->order[score->orderCount];
    *line = OrderLine{};
    if (!ParsePhraseRange(s[1], &line->first, &line->last)) return false;
    for (size_t i = 2; i < s.size(); i++) {
        if (s[i].text[0] == '~') {
            if (line->rampCount == MAX_LINE_RAMPS) return Fail(s[i].line, "too many ramps", s[i].text);
            if (!ParseRamp(s[i], score, &line->ramps[line->rampCount++])) return false;
            continue;
        }
        if (line->patternCount == MAX_LINE_PATTERNS) return Fail(s[i].line, "too many patterns", s[i].text);
        if (!ParsePlayed(s[i], score, &line->patterns[line->patternCount++])) return false;
    }
    if (line->last + 1 > score->phraseCount) score->phraseCount = line->last + 1;
    score->orderCount++;
    return true;
}

// Header settings: "tempo 140.38", "grid 4 4 4", "sync 16 109.47048", ...
static bool ParseSetting(const Statement& s, Score* score) {
    const std::string& key = s[0].text;
    struct Field { const char* key; double* values[3]; int count; } fields[] = {
        {"tempo", {&score->tempo}, 1}, {"start", {&score->startSeconds}, 1},
        {"length", {&score->lengthSeconds}, 1}, {"fade", {&score->fadeSeconds}, 1},
        {"level", {&score->level}, 1}, {"ceiling", {&score->ceiling}, 1},
        {"delay", {&score->delayBeats, &score->delayFeedback}, 2},
        {"reverb", {&score->reverbSize, &score->reverbDamping}, 2}};
    double values[3];
    int count = key == "grid" || key == "sync" ? (key == "grid" ? 3 : 2) : -1;
    for (const Field& field : fields)
        if (key == field.key) count = field.count;
    if (count < 0) return Fail(s[0].line, "unknown statement", key);
    if ((int)s.size() != count + 1) return Fail(s[0].line, "wrong number of values for", key);
    for (int i = 0; i < count; i++)
        if (!ParseNumber(s[i + 1], &values[i])) return false;
    if (key == "grid") {
        for (int i = 0; i < 3; i++)
            if (values[i] < 1 || values[i] > 64) return Fail(s[i + 1].line, "bad grid", s[i + 1].text);
        score->rowsPerBeat = (int)values[0], score->beatsPerBar = (int)values[1];
        score->barsPerPhrase = (int)values[2];
        if (RowsPerPhrase(score) > 1024) return Fail(s[0].line, "more than 1024 rows a phrase:", key);
        return true;
    }
    if (key == "sync") {
        if (values[0] < 0 || values[0] >= MAX_PHRASES) return Fail(s[1].line, "bad phrase", s[1].text);
        if (values[1] < 0) return Fail(s[2].line, "sync before the track's start:", s[2].text);
        score->syncSeconds[(int)values[0]] = values[1];
        return true;
    }
    for (const Field& field : fields)
        if (key == field.key)
            for (int i = 0; i < count; i++) *field.values[i] = values[i];
    return true;
}

static void SetDefaults(Score* score) {
    memset(score, 0, sizeof *score);
    score->tempo = 120, score->rowsPerBeat = 4, score->beatsPerBar = 4, score->barsPerPhrase = 4;
    score->lengthSeconds = 10, score->fadeSeconds = 0.5, score->level = -14, score->ceiling = -1.5;
    score->delayBeats = 0.75, score->delayFeedback = 0.35;
    score->reverbSize = 0.8, score->reverbDamping = 0.4;
    for (double& sync : score->syncSeconds) sync = -1;
}

static bool CheckScore(Score* score) {
    if (score->tempo < 20 || score->tempo > 400) return Fail(0, "tempo out of range", "tempo");
    if (score->lengthSeconds <= 0 || score->lengthSeconds > 600) return Fail(0, "length out of range", "length");
    if (score->startSeconds < 0) return Fail(0, "start before the track's start", "start");
    if (score->orderCount == 0) return Fail(0, "the order list is empty", "play");
    double previous = -1;
    for (int p = 0; p < MAX_PHRASES; p++) {
        if (score->syncSeconds[p] < 0) continue;
        if (score->syncSeconds[p] <= previous) return Fail(0, "sync points must rise", "sync");
        previous = score->syncSeconds[p];
    }
    return true;
}

bool LoadScore(const char* path, Score* score, char* error, int errorSize) {
    ScorePath = path, ErrorText = error, ErrorSize = errorSize;
    SetDefaults(score);
    std::vector<Statement> statements;
    if (!ReadStatements(path, &statements)) return false;
    for (const Statement& s : statements) {
        const std::string& key = s[0].text;
        bool ok = key == "instrument" ? ParseInstrument(s, score)
                : key == "pattern"    ? ParsePattern(s, score)
                : key == "play"       ? ParsePlay(s, score)
                                      : ParseSetting(s, score);
        if (!ok) return false;
    }
    score->syncSeconds[0] = score->syncSeconds[0] < 0 ? score->startSeconds : score->syncSeconds[0];
    return CheckScore(score);
}

int RowsPerPhrase(const Score* score) {
    return score->rowsPerBeat * score->beatsPerBar * score->barsPerPhrase;
}

double PhraseStartSeconds(const Score* score, int phrase) {
    double phraseSeconds = 60.0 / score->tempo * score->beatsPerBar * score->barsPerPhrase;
    int before = 0;  // the last pinned phrase at or before `phrase` (phrase 0 always is)
    for (int p = 0; p <= phrase && p < MAX_PHRASES; p++)
        if (score->syncSeconds[p] >= 0) before = p;
    int after = -1;
    for (int p = phrase + 1; p < MAX_PHRASES && after < 0; p++)
        if (score->syncSeconds[p] >= 0) after = p;
    double start = score->syncSeconds[before];
    if (after < 0 || phrase == before) return start + (phrase - before) * phraseSeconds;
    double span = (score->syncSeconds[after] - start) / (after - before);
    return start + (phrase - before) * span;
}
