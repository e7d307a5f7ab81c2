#include "lib/video_encoder.h"

#include "platform/child_process.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/signals.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

static const int kStalledMs = 5000;
static const int kFinishStallSeconds = 30;

static VideoEncoderOptions Options;
static std::string PartPath;          // what ffmpeg writes; the target itself when that is no file
static bool Encoding = false;          // ffmpeg runs
static const int kVideo = 0, kAudio = 1;  // its inputs: the frames on its standard input, the sound
static size_t FrameBytes = 0;
static std::vector<uint8_t> Audio;  // PCM not yet taken by ffmpeg
static size_t AudioSent = 0;
static int NotedSignals = 0;        // termination signals counted when the finish began or since

static void Complain(const std::string& text) { fprintf(stderr, "kamora-tool capture: %s\n", text.c_str()); }

static const char kPartPrefix[] = ".kamora-part-";

// The target's folder, ending in its separator.
static std::string FolderOf(const std::string& path) {
    const size_t length = PathFileName(path.c_str()) - path.c_str();
    return length == 0 ? "./" : path.substr(0, length);
}

// A hidden name beside the target, keeping its extension so that ffmpeg picks the same format.
static std::string HiddenPartName(const std::string& path) {
    return FolderOf(path) + kPartPrefix + std::to_string(CurrentProcessId()) + "-" + PathFileName(path.c_str());
}

// A capture killed outright (SIGKILL, a crash) leaves its part file behind: those of processes
// that no longer run are cleared. A pid that runs, or that we may not ask about, keeps its file.
static void ClearStalePartFiles(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const size_t prefix = sizeof kPartPrefix - 1;
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (strncmp(name, kPartPrefix, prefix) != 0 || !isdigit((unsigned char)name[prefix])) continue;
        char* end = nullptr;
        const long pid = strtol(name + prefix, &end, 10);
        if (*end != '-' || pid <= 0 || pid > INT_MAX || pid == CurrentProcessId()) continue;
        if (ProcessHasEnded(pid)) unlink((folder + name).c_str());
    }
    closedir(dir);
}

// Claims the part file now, so an unwritable folder is reported before any frame is rendered.
static bool ClaimPartFile() {
    struct stat target;
    if (stat(Options.path.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
        PartPath = Options.path;  // a device or pipe: ffmpeg writes to it directly
        return true;
    }
    ClearStalePartFiles(FolderOf(Options.path));
    PartPath = HiddenPartName(Options.path);
    int fd = open(PartPath.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
        Complain("cannot write " + Options.path + ": " + strerror(errno));
        return false;
    }
    close(fd);
    return true;
}

static void DropPartFile() {
    if (PartPath != Options.path) unlink(PartPath.c_str());
}

static std::vector<std::string> EncoderArguments(const std::string& audioPipe) {
    const bool little = [] { const uint16_t probe = 1; return *(const uint8_t*)&probe == 1; }();
    const std::string size = std::to_string(Options.width) + "x" + std::to_string(Options.height);
    // Both inputs are fully described, so nothing is probed: probing the second input would
    // wait for seconds of sound while the first one's pipe is full.
    std::vector<std::string> arguments = {"ffmpeg", "-hide_banner", "-nostdin", "-nostats", "-loglevel", "error", "-y",
            "-probesize", "32", "-analyzeduration", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size", size,
            "-framerate", std::to_string(Options.fps), "-i", "pipe:0",
            "-f", little ? "s16le" : "s16be", "-ar", std::to_string(Options.sampleRate),
            "-probesize", "32", "-analyzeduration", "1",
            "-ac", std::to_string(Options.channels), "-i", audioPipe,
            "-map", "0:v", "-map", "1:a",
            "-c:v", Options.encoder, "-crf", std::to_string(Options.crf), "-pix_fmt", "yuv420p"};
    if (!Options.speed.empty()) arguments.insert(arguments.end(), {"-preset", Options.speed});
    // "file:" keeps a name with a colon or a leading dash a plain file.
    arguments.insert(arguments.end(), {"-c:a", "aac", "-b:a", Options.audioBitrate, "-movflags", "+faststart",
                                       "file:" + PartPath});
    return arguments;
}

static bool Spawn() {
    std::string audioInput, error;
    if (!OpenChildInputs(&audioInput, &error)) {
        Complain("cannot open a pipe to ffmpeg: " + error);
        return false;
    }
    switch (StartChild(EncoderArguments(audioInput), &error)) {
    case ChildStart::Started: return true;
    case ChildStart::NotFound:
        Complain("ffmpeg is not installed (" + HowToGetProgram("ffmpeg") + "), so no video can be made");
        return false;
    case ChildStart::Failed: break;
    }
    Complain("cannot start ffmpeg: " + error);
    return false;
}

bool StartVideoEncoder(const VideoEncoderOptions& options) {
    Options = options;
    if (!ClaimPartFile()) return false;
    // From here until the file is in place (or gone) a second Ctrl-C would kill the toolbox with
    // the part file left behind while ffmpeg writes on in its own process group.
    HoldTerminationSignals(true);
    FrameBytes = (size_t)Options.width * Options.height * 3;
    Audio.clear();
    AudioSent = 0;
    Encoding = Spawn();
    if (!Encoding) FinishVideoEncoder(false);
    return Encoding;
}

// One non-blocking write; false when ffmpeg has gone (EPIPE) or the write failed otherwise.
static bool WriteSome(int input, const uint8_t** data, size_t* left) {
    const long n = WriteChildInput(input, *data, *left);
    if (n < 0) return false;
    *data += n;
    *left -= (size_t)n;
    return true;
}

// Writes all of `video` while feeding ffmpeg whatever audio it takes meanwhile; with `drain` also
// waits until the audio is all taken. ffmpeg reads its two inputs at its own pace, so neither
// pipe may wait for the other.
static bool Pump(const uint8_t* video, size_t videoBytes, bool drain) {
    while (videoBytes > 0 || (drain && AudioSent < Audio.size())) {
        const unsigned wanted = (videoBytes > 0 ? 1u << kVideo : 0) | (AudioSent < Audio.size() ? 1u << kAudio : 0);
        // After a Ctrl-C the frame under way still goes out whole, unless ffmpeg takes nothing;
        // so does the last of the sound, unless ffmpeg takes nothing for long.
        const int waitMs = TerminationRequested() ? kStalledMs : drain ? kFinishStallSeconds * 1000 : -1;
        const int ready = WaitForChildInput(wanted, waitMs);
        if (ready == 0) {
            Complain("ffmpeg has taken nothing for " + std::to_string(waitMs / 1000) + " s; giving up");
            return false;
        }
        if (ready == kChildWaitInterrupted) continue;
        if (ready < 0) return false;
        if (ready & (1 << kVideo) && !WriteSome(kVideo, &video, &videoBytes)) return false;
        if (ready & (1 << kAudio)) {
            const uint8_t* at = Audio.data() + AudioSent;
            size_t left = Audio.size() - AudioSent;
            if (!WriteSome(kAudio, &at, &left)) return false;
            AudioSent = Audio.size() - left;
        }
    }
    if (AudioSent == Audio.size()) Audio.clear(), AudioSent = 0;
    return true;
}

bool SendVideoFrame(const uint8_t* rgb, const uint8_t* pcm, size_t pcmBytes) {
    if (!Encoding) return false;
    Audio.insert(Audio.end(), pcm, pcm + pcmBytes);
    return Pump(rgb, FrameBytes, false);
}

// What ffmpeg finishing (the frames it still holds, then the index moved to the front) keeps
// changing: the part file's size and modification time. Size -1: no file to watch.
static FileMark ReadPartMark() {
    FileMark mark;
    if (PartPath == Options.path || !ReadFileMark(PartPath.c_str(), &mark)) mark = FileMark();
    return mark;
}

static bool SameMark(const FileMark& a, const FileMark& b) { return a.size == b.size && a.changed == b.changed; }

// A finish that makes no progress is given up, ffmpeg's whole process group killed: on the third
// termination signal, or when the part file has not changed for kFinishStallSeconds (ffmpeg stuck
// on a stalled pipe or a hung share). Writing to a device or pipe, only the signal counts.
static bool WaitForEncoder() {
    ChildExit exit;
    FileMark mark = ReadPartMark();
    auto changed = std::chrono::steady_clock::now();
    std::string givenUp;
    // Looks in every 100 ms (a signal cuts the wait short); once given up, waits for the end.
    for (int waitMs = 0; !WaitForChild(waitMs, &exit); waitMs = givenUp.empty() ? 100 : -1) {
        const int signals = TerminationSignalCount();
        if (signals != NotedSignals && signals < 3)
            Complain("still finishing " + Options.path + "; a third Ctrl-C gives it up");
        NotedSignals = signals;
        const FileMark now = ReadPartMark();
        if (now.size < 0 || !SameMark(now, mark)) changed = std::chrono::steady_clock::now();
        mark = now;
        const double quiet = std::chrono::duration<double>(std::chrono::steady_clock::now() - changed).count();
        if (signals >= 3) givenUp = "a third Ctrl-C";
        else if (quiet >= kFinishStallSeconds) givenUp = "no write for " + std::to_string(kFinishStallSeconds) + " s";
        if (!givenUp.empty()) EndChild();
    }
    Encoding = false;
    if (!givenUp.empty()) {
        Complain("ffmpeg ended after " + givenUp + " while it finished; " + Options.path + " is lost (not written)");
        return false;
    }
    if (!exit.signalled && exit.code == 0) return true;
    if (!exit.signalled) Complain("ffmpeg failed with exit code " + std::to_string(exit.code) +
                                  " (its message is above); no video was written");
    else Complain("ffmpeg was ended by signal " + std::to_string(exit.code) + "; no video was written");
    return false;
}

bool FinishVideoEncoder(bool keep) {
    bool ok = Encoding && keep;
    NotedSignals = TerminationSignalCount();
    CloseChildInput(kVideo);  // the end of the frames; the rest of the sound follows
    if (ok) ok = Pump(nullptr, 0, true);
    CloseChildInput(kAudio);
    if (Encoding) ok = WaitForEncoder() && ok;  // (it ends on the closed pipes either way)
    if (ok && PartPath != Options.path && !MoveFileOver(PartPath.c_str(), Options.path.c_str())) {
        Complain("cannot move the video to " + Options.path + ": " + strerror(errno));
        ok = false;
    }
    if (!ok) DropPartFile();
    Audio.clear();
    AudioSent = 0;
    HoldTerminationSignals(false);
    return ok;
}
