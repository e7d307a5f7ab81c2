#include "lib/video_encoder.h"

#include "platform/signals.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

static const int kStalledMs = 5000;
static const int kFinishStallSeconds = 30;

static VideoEncoderOptions Options;
static std::string PartPath;          // what ffmpeg writes; the target itself when that is no file
static pid_t Encoder = -1;
static int VideoFd = -1;
static int AudioFd = -1;
static size_t FrameBytes = 0;
static std::vector<uint8_t> Audio;  // PCM not yet taken by ffmpeg
static size_t AudioSent = 0;
static int NotedSignals = 0;        // termination signals counted when the finish began or since

static void Complain(const std::string& text) { fprintf(stderr, "kamora-tool capture: %s\n", text.c_str()); }

static const char kPartPrefix[] = ".kamora-part-";

static std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A hidden name beside the target, keeping its extension so that ffmpeg picks the same format.
static std::string HiddenPartName(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return FolderOf(path) + "/" + kPartPrefix + std::to_string(getpid()) + "-" + base;
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
        if (*end != '-' || pid <= 0 || pid > INT_MAX || pid == getpid()) continue;
        if (kill((pid_t)pid, 0) != 0 && errno == ESRCH) unlinkat(dirfd(dir), name, 0);
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
    int fd = open(PartPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
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

// Both pipe ends are moved above the descriptors ffmpeg is given (0 and 3), close on exec.
static bool OpenPipe(int ends[2]) {
    int raw[2];
    if (pipe2(raw, O_CLOEXEC) != 0) {
        Complain(std::string("cannot open a pipe to ffmpeg: ") + strerror(errno));
        return false;
    }
    for (int i = 0; i < 2; ++i) {
        ends[i] = fcntl(raw[i], F_DUPFD_CLOEXEC, 10);
        close(raw[i]);
    }
    fcntl(ends[1], F_SETPIPE_SZ, 1 << 20);  // fewer wake-ups per frame; the default is fine too
    fcntl(ends[1], F_SETFL, O_NONBLOCK);
    return ends[0] >= 0 && ends[1] >= 0;
}

static bool Spawn(int videoRead, int audioRead) {
    std::vector<std::string> arguments = EncoderArguments("pipe:3");
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, videoRead, 0);
    posix_spawn_file_actions_adddup2(&files, audioRead, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, reset;
    sigemptyset(&none);
    sigemptyset(&reset);
    sigaddset(&reset, SIGPIPE);
    sigaddset(&reset, SIGINT);
    sigaddset(&reset, SIGTERM);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &reset);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    int error = posix_spawnp(&Encoder, "ffmpeg", &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (error == 0) return true;
    Encoder = -1;
    if (error == ENOENT) Complain("ffmpeg is not installed (apt-get install ffmpeg), so no video can be made");
    else Complain(std::string("cannot start ffmpeg: ") + strerror(error));
    return false;
}

bool StartVideoEncoder(const VideoEncoderOptions& options) {
    Options = options;
    if (!ClaimPartFile()) return false;
    // From here until the file is in place (or gone) a second Ctrl-C would kill the toolbox with
    // the part file left behind while ffmpeg writes on in its own process group.
    HoldTerminationSignals(true);
    signal(SIGPIPE, SIG_IGN);  // a dead ffmpeg shows as EPIPE on the next write instead
    int video[2] = {-1, -1}, audio[2] = {-1, -1};
    bool ok = OpenPipe(video) && OpenPipe(audio) && Spawn(video[0], audio[0]);
    if (video[0] >= 0) close(video[0]);
    if (audio[0] >= 0) close(audio[0]);
    VideoFd = video[1];
    AudioFd = audio[1];
    FrameBytes = (size_t)Options.width * Options.height * 3;
    Audio.clear();
    AudioSent = 0;
    if (!ok) {
        if (Encoder < 0) FinishVideoEncoder(false);
        return false;
    }
    return true;
}

// One non-blocking write; false when ffmpeg has gone (EPIPE) or the write failed otherwise.
static bool WriteSome(int fd, const uint8_t** data, size_t* left) {
    ssize_t n = write(fd, *data, *left);
    if (n >= 0) {
        *data += n;
        *left -= (size_t)n;
        return true;
    }
    return errno == EAGAIN || errno == EINTR;
}

// Writes all of `video` while feeding ffmpeg whatever audio it takes meanwhile; with `drain` also
// waits until the audio is all taken. ffmpeg reads its two inputs at its own pace, so neither
// pipe may wait for the other.
static bool Pump(const uint8_t* video, size_t videoBytes, bool drain) {
    while (videoBytes > 0 || (drain && AudioSent < Audio.size())) {
        pollfd fds[2];
        int count = 0, videoSlot = -1, audioSlot = -1;
        if (videoBytes > 0) fds[videoSlot = count++] = {VideoFd, POLLOUT, 0};
        if (AudioSent < Audio.size()) fds[audioSlot = count++] = {AudioFd, POLLOUT, 0};
        // After a Ctrl-C the frame under way still goes out whole, unless ffmpeg takes nothing;
        // so does the last of the sound, unless ffmpeg takes nothing for long.
        const int waitMs = TerminationRequested() ? kStalledMs : drain ? kFinishStallSeconds * 1000 : -1;
        int ready = poll(fds, count, waitMs);
        if (ready == 0) {
            Complain("ffmpeg has taken nothing for " + std::to_string(waitMs / 1000) + " s; giving up");
            return false;
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (videoSlot >= 0 && fds[videoSlot].revents && !WriteSome(VideoFd, &video, &videoBytes)) return false;
        if (audioSlot >= 0 && fds[audioSlot].revents) {
            const uint8_t* at = Audio.data() + AudioSent;
            size_t left = Audio.size() - AudioSent;
            if (!WriteSome(AudioFd, &at, &left)) return false;
            AudioSent = Audio.size() - left;
        }
    }
    if (AudioSent == Audio.size()) Audio.clear(), AudioSent = 0;
    return true;
}

bool SendVideoFrame(const uint8_t* rgb, const uint8_t* pcm, size_t pcmBytes) {
    if (Encoder < 0) return false;
    Audio.insert(Audio.end(), pcm, pcm + pcmBytes);
    return Pump(rgb, FrameBytes, false);
}

// What ffmpeg finishing (the frames it still holds, then the index moved to the front) keeps
// changing: the part file's size and modification time. Size -1: no file to watch.
struct PartMark {
    off_t size = -1;
    timespec changed = {};
};

static PartMark ReadPartMark() {
    PartMark mark;
    struct stat part;
    if (PartPath != Options.path && stat(PartPath.c_str(), &part) == 0) mark = {part.st_size, part.st_mtim};
    return mark;
}

static bool SameMark(const PartMark& a, const PartMark& b) {
    return a.size == b.size && a.changed.tv_sec == b.changed.tv_sec && a.changed.tv_nsec == b.changed.tv_nsec;
}

// A finish that makes no progress is given up, ffmpeg's whole process group killed: on the third
// termination signal, or when the part file has not changed for kFinishStallSeconds (ffmpeg stuck
// on a stalled pipe or a hung share). Writing to a device or pipe, only the signal counts.
static bool WaitForEncoder() {
    int status = 0;
    PartMark mark = ReadPartMark();
    auto changed = std::chrono::steady_clock::now();
    std::string givenUp;
    for (;;) {
        const pid_t done = waitpid(Encoder, &status, givenUp.empty() ? WNOHANG : 0);
        if (done == Encoder || (done < 0 && errno != EINTR)) break;
        if (done != 0) continue;
        const int signals = TerminationSignalCount();
        if (signals != NotedSignals && signals < 3)
            Complain("still finishing " + Options.path + "; a third Ctrl-C gives it up");
        NotedSignals = signals;
        const PartMark now = ReadPartMark();
        if (now.size < 0 || !SameMark(now, mark)) changed = std::chrono::steady_clock::now();
        mark = now;
        const double quiet = std::chrono::duration<double>(std::chrono::steady_clock::now() - changed).count();
        if (signals >= 3) givenUp = "a third Ctrl-C";
        else if (quiet >= kFinishStallSeconds) givenUp = "no write for " + std::to_string(kFinishStallSeconds) + " s";
        if (!givenUp.empty()) kill(-Encoder, SIGKILL);
        else poll(nullptr, 0, 100);  // a signal cuts it short
    }
    Encoder = -1;
    if (!givenUp.empty()) {
        Complain("ffmpeg ended after " + givenUp + " while it finished; " + Options.path + " is lost (not written)");
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    if (WIFEXITED(status)) Complain("ffmpeg failed with exit code " + std::to_string(WEXITSTATUS(status)) +
                                    " (its message is above); no video was written");
    else Complain("ffmpeg was ended by signal " + std::to_string(WTERMSIG(status)) + "; no video was written");
    return false;
}

bool FinishVideoEncoder(bool keep) {
    bool ok = Encoder >= 0 && keep;
    NotedSignals = TerminationSignalCount();
    if (VideoFd >= 0) close(VideoFd);  // the end of the frames; the rest of the sound follows
    VideoFd = -1;
    if (ok) ok = Pump(nullptr, 0, true);
    if (AudioFd >= 0) close(AudioFd);
    AudioFd = -1;
    if (Encoder >= 0) ok = WaitForEncoder() && ok;  // (it ends on the closed pipes either way)
    if (ok && PartPath != Options.path && rename(PartPath.c_str(), Options.path.c_str()) != 0) {
        Complain("cannot move the video to " + Options.path + ": " + strerror(errno));
        ok = false;
    }
    if (!ok) DropPartFile();
    Audio.clear();
    AudioSent = 0;
    HoldTerminationSignals(false);
    return ok;
}
