#include "show_run.h"

#include "package/package.h"
#include "run_command.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

ShowRun MakeShowRun(const std::string& name) {
    ShowRun run;
    run.folder = MakeTestFolder("faults_" + name);
    fs::remove_all(run.folder + ".entries");
    run.tempDir = run.folder + "/tmp";
    fs::create_directories(run.tempDir);
    return run;
}

// In the child: its folder, its environment, its output into `outPath`, then the show, which dies
// with the thread that watches it should the test end early (an assertion that aborts, a crash).
[[noreturn]] static void StartChild(const ShowRun& run, const std::string& outPath, pid_t parent) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(126);
    if (chdir(run.folder.c_str()) != 0) _exit(126);
    const sched_param none = {};
    if (run.yields && sched_setscheduler(0, SCHED_IDLE, &none) != 0 && nice(19) == -1) _exit(126);
    setenv("TMPDIR", run.tempDir.c_str(), 1);
    setenv("KAMORA_MSGBOX", "stderr", 1);
    for (const std::string& setting : run.env) putenv(strdup(setting.c_str()));
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0) _exit(126);
    dup2(out, 1);
    dup2(out, 2);
    close(out);
    std::string show = run.program.empty() ? std::string(KAMORA_BUILD_DIR) + "/kamora" : run.program;
    execl(show.c_str(), show.c_str(), run.arguments.c_str(), (char*)nullptr);
    _exit(127);
}

// The poke runs beside the show, on the same display; its output is dropped.
static pid_t StartPoke(const std::string& arguments, pid_t show) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::string poke = std::string(KAMORA_BUILD_DIR) + "/kamora-x-poke";
    size_t space = arguments.find(' ');
    std::string action = arguments.substr(0, space);
    std::string hold = space == std::string::npos ? "" : arguments.substr(space + 1);
    std::string target = std::to_string(show);
    if (hold.empty()) execl(poke.c_str(), poke.c_str(), action.c_str(), target.c_str(), (char*)nullptr);
    else execl(poke.c_str(), poke.c_str(), action.c_str(), target.c_str(), hold.c_str(), (char*)nullptr);
    _exit(127);
}

ShowOutcome RunShow(const ShowRun& run) {
    // The output goes beside the folder, so the folder holds only what the show itself leaves.
    std::string outPath = run.folder + ".out";
    ShowOutcome outcome;
    auto start = std::chrono::steady_clock::now();
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) return outcome;
    if (pid == 0) StartChild(run, outPath, parent);
    bool vanished = false, commanded = false;
    pid_t poke = 0;
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (done == pid) break;
        bool due = run.signalWhen ? run.signalWhen(run) : outcome.seconds >= run.signalDelay;
        if (run.signal && !outcome.signalled && due) {
            kill(pid, run.signal);
            outcome.signalled = true;
        }
        if (!run.poke.empty() && !poke && outcome.seconds >= run.pokeDelay) poke = StartPoke(run.poke, pid);
        if (run.vanishDelay > 0 && !vanished && outcome.seconds >= run.vanishDelay) {
            std::error_code error;
            fs::remove_all(run.tempDir, error);
            vanished = true;
        }
        if (!run.command.empty() && !commanded && outcome.seconds >= run.commandDelay) {
            RunCommand(run.command);
            commanded = true;
        }
        if (outcome.seconds > run.limitSeconds) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            outcome.hung = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // The poke ends once the window is gone (letting go of any key it holds); one still looking
    // for a window that never came is stopped.
    for (int i = 0; poke > 0 && i < 100; ++i) {
        if (waitpid(poke, nullptr, WNOHANG) != 0) poke = 0;
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (poke > 0) {
        kill(poke, SIGKILL);
        waitpid(poke, nullptr, 0);
    }
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.out = ReadWholeFile(outPath);
    std::error_code error;
    fs::remove(run.folder + ".audio", error);
    return outcome;
}

static long AudioChecked = 0;

void PlayIntoFile(ShowRun* run) {
    std::error_code error;
    fs::remove(run->folder + ".audio", error);
    AudioChecked = 0;
    run->env.push_back("SDL_AUDIODRIVER=disk");
    run->env.push_back("SDL_DISKAUDIOFILE=" + run->folder + ".audio");
}

bool MusicPlaying(const ShowRun& run) {
    FILE* file = fopen((run.folder + ".audio").c_str(), "rb");
    if (!file) return false;
    bool heard = false;
    if (fseek(file, AudioChecked, SEEK_SET) == 0) {
        int c;
        while (!heard && (c = fgetc(file)) != EOF) {
            heard = c != 0;
            ++AudioChecked;
        }
    }
    fclose(file);
    return heard;
}

std::string FolderListing(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + "\n";
    return listing;
}

std::string SanitizerReport(const std::string& out) {
    for (const char* mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"}) {
        size_t at = out.find(mark);
        if (at != std::string::npos) return out.substr(at, 400);
    }
    return "";
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string SmallTga() {
    const int width = 4, height = 2;
    std::string tga(18, '\0');
    tga[2] = 2;  // uncompressed true colour
    tga[12] = width;
    tga[14] = height;
    tga[16] = 24;
    for (int i = 0; i < width * height; ++i) tga += std::string{(char)0x40, (char)0x80, (char)(i * 30)};
    return tga;
}

bool PackEntries(const std::string& package, const std::vector<std::string>& entries, bool store) {
    std::string command = std::string(KAMORA_BUILD_DIR) + "/kamora-tool pack " + (store ? "--store " : "") +
                          "'" + package + "'";
    for (const std::string& entry : entries) command += " '" + entry + "'";
    return RunCommand(command + " >/dev/null").exitCode == 0;
}

long EntryDataOffset(const std::string& package, const std::string& name) {
    FILE* file = fopen(package.c_str(), "rb");
    if (!file) return -1;
    bool identified = false;
    int32_t count = 0;
    long found = -1;
    if (ReadPackageHeader(file, &identified, &count)) {
        int64_t offset = kPackageHeaderSize;
        PackageRecord record;
        for (int32_t i = 0; i < count && ReadPackageRecord(file, offset, &record); ++i) {
            if (name == record.name) {
                found = (long)record.dataOffset;
                break;
            }
            if (!PackageRecordWalkable(&record)) break;
            offset = record.dataOffset + record.dataSize;
        }
    }
    fclose(file);
    return found;
}
