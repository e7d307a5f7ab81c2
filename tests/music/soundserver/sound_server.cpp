#include "sound_server.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

const SoundSetup kPipeWire = {"pipewire", true, "pipewire"};
const SoundSetup kPipeWirePulse = {"pipewire_pulse", true, "pulseaudio"};
const SoundSetup kPulseAudio = {"pulseaudio", false, "pulseaudio"};
const std::vector<SoundSetup> kSoundSetups = {kPipeWire, kPipeWirePulse, kPulseAudio};

static bool OnPath(const std::string& program) {
    const char* path = getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= folders.size();) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        if (access((folders.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string MissingSoundServer(const SoundSetup& setup) {
    if (setup.pipewire) {
        for (const char* program : {"pipewire", "wireplumber", "pipewire-pulse", "pactl", "parec"})
            if (!OnPath(program))
                return std::string("no ") + program + " here: the PipeWire cases need the packages pipewire, "
                       "pipewire-bin, wireplumber, pipewire-pulse and pulseaudio-utils (scripts/install-deps.sh)";
        return "";
    }
    if (!OnPath("pulseaudio"))
        return "no PulseAudio daemon here (package pulseaudio, which our scripts never install: it would take "
               "a PipeWire desktop's sound away); the PipeWire cases cover the sound server";
    if (!OnPath("pactl") || !OnPath("parec")) return "no pactl or parec here: package pulseaudio-utils";
    return "";
}

std::vector<SoundSetup> AvailableSoundSetups() {
    std::vector<SoundSetup> setups;
    for (const SoundSetup& setup : kSoundSetups)
        if (MissingSoundServer(setup).empty()) setups.push_back(setup);
    return setups;
}

bool ProcessGone(pid_t pid) {
    std::string stat = ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    return close == std::string::npos || stat.compare(close + 1, 3, " Z ") == 0;
}

// In a child: NAME=value settings, and NAME alone to unset one.
static void ApplySettings(const std::vector<std::string>& settings) {
    for (const std::string& setting : settings) {
        size_t equals = setting.find('=');
        if (equals == std::string::npos) unsetenv(setting.c_str());
        else setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
}

// The child dies with the thread that started it, whatever ends the test: an assertion that
// aborts, a crash, a timeout's SIGKILL.
pid_t StartChild(const std::vector<std::string>& settings, std::vector<std::string> argv, int outFd, int errFd) {
    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid != 0) return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);  // the parent went before the signal was set
    ApplySettings(settings);
    if (outFd >= 0) dup2(outFd, 1);
    if (errFd >= 0) dup2(errFd, 2);
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(&arg[0]);
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

// A shell outside the test's process tree (a timeout's kill sweeps the tree) that removes the
// folder once the test process has gone without saying it did so itself.
static int StartGuardian(const std::string& folder) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return -1;
    pid_t pid = fork();
    if (pid == 0) {
        if (fork() != 0) _exit(0);
        setsid();
        dup2(ends[0], 0);
        std::string script = "read done || { sleep 1; rm -rf '" + folder + "'; }";
        execl("/bin/sh", "sh", "-c", script.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(ends[0]);
    waitpid(pid, nullptr, 0);
    return ends[1];
}

// The server's own folders for runtime files, state and settings, and no session bus: on a
// desktop it must not meet the desktop's own sound server or devices.
static std::vector<std::string> ServerSettings(const std::string& folder) {
    return {"HOME=" + folder + "/home",
            "XDG_RUNTIME_DIR=" + folder + "/run",
            "XDG_CONFIG_HOME=" + folder + "/config",
            "XDG_STATE_HOME=" + folder + "/state",
            "PIPEWIRE_RUNTIME_DIR=" + folder + "/run",
            "PULSE_RUNTIME_PATH=" + folder + "/run/pulse",
            "PULSE_STATE_PATH=" + folder + "/state",
            "DBUS_SESSION_BUS_ADDRESS=unix:path=" + folder + "/no-bus",
            "PULSE_SERVER",
            "PIPEWIRE_REMOTE",
            "DISPLAY",
            "WAYLAND_DISPLAY"};
}

// WirePlumber with the null sinks only: no sound cards, cameras, Bluetooth or portals.
static void WriteServerConfig(const std::string& folder) {
    for (const char* sub : {"/run/pulse", "/state", "/home", "/config/wireplumber/main.lua.d",
                            "/config/wireplumber/bluetooth.lua.d"})
        fs::create_directories(folder + sub);
    std::ofstream(folder + "/config/wireplumber/main.lua.d/80-null-sinks-only.lua")
        << "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n"
           "default_access.properties[\"enable-flatpak-portal\"] = false\n";
    std::ofstream(folder + "/config/wireplumber/bluetooth.lua.d/80-null-sinks-only.lua")
        << "bluez_monitor.enabled = false\n";
    std::ofstream(folder + "/client.conf") << "autospawn = no\n";
}

static void StartDaemon(SoundServer* server, std::vector<std::string> argv) {
    std::string log = server->folder + "/" + argv[0] + ".log";
    int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    server->pids.push_back(StartChild(ServerSettings(server->folder), argv, out, out));
    close(out);
}

// -n loads no default script: only the socket (the sinks come later). Root needs --system=no.
static void StartPulseAudio(SoundServer* server) {
    std::string socket = "module-native-protocol-unix auth-anonymous=1 socket=" + server->folder + "/run/pulse/native";
    StartDaemon(server, {"pulseaudio", "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
                         "--use-pid-file=no", "--realtime=no", "--high-priority=no", "--log-target=stderr", "-L",
                         socket});
}

static bool WaitFor(const std::function<bool()>& ready) {
    for (int i = 0; i < 200; ++i) {
        if (ready()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

static bool StartDaemons(SoundServer* server, const std::vector<SoundSink>& sinks) {
    if (server->setup.pipewire) {
        StartDaemon(server, {"pipewire"});
        if (!WaitFor([&] { return fs::exists(server->folder + "/run/pipewire-0"); })) return false;
        StartDaemon(server, {"wireplumber"});
        StartDaemon(server, {"pipewire-pulse"});
    } else {
        StartPulseAudio(server);
    }
    if (!WaitFor([&] { return RunSoundCommand(*server, "pactl info").exitCode == 0; })) return false;
    for (const SoundSink& sink : sinks) {
        std::string module = "module-null-sink sink_name=" + sink.name +
                             " sink_properties=device.description=" + sink.description;
        if (RunSoundCommand(*server, "pactl load-module " + module).exitCode != 0) return false;
    }
    // Up once the session manager has made a sink the default: streams are then placed.
    return WaitFor([&] {
        std::string info = RunSoundCommand(*server, "pactl info").out;
        for (const SoundSink& sink : sinks)
            if (info.find("Default Sink: " + sink.name + "\n") != std::string::npos) return true;
        return sinks.empty();
    });
}

bool StartSoundServer(SoundServer* server, const SoundSetup& setup, const std::vector<SoundSink>& sinks) {
    char folder[] = "/tmp/kamora-sound-XXXXXX";
    if (!mkdtemp(folder)) return false;
    server->setup = setup;
    server->folder = folder;
    server->guardian = StartGuardian(server->folder);
    WriteServerConfig(server->folder);
    if (StartDaemons(server, sinks)) return true;
    fprintf(stderr, "the sound server did not come up:\n");
    for (const auto& entry : fs::directory_iterator(server->folder))
        if (entry.path().extension() == ".log")
            fprintf(stderr, "%s:\n%s\n", entry.path().c_str(), ReadWholeFile(entry.path()).c_str());
    StopSoundServer(server);
    return false;
}

static void StopProcess(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 250; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) != 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

void StopSoundServer(SoundServer* server) {
    for (auto pid = server->pids.rbegin(); pid != server->pids.rend(); ++pid)
        if (*pid > 0) StopProcess(*pid);
    server->pids.clear();
    if (!server->folder.empty()) {
        std::error_code error;
        fs::remove_all(server->folder, error);
        server->folder.clear();
    }
    if (server->guardian >= 0) {
        if (write(server->guardian, "done\n", 5) != 5) perror("the sound server's guardian");
        close(server->guardian);
        server->guardian = -1;
    }
}

SoundServer::~SoundServer() { StopSoundServer(this); }

std::vector<std::string> SoundClientEnvironment(const SoundServer& server) {
    return {std::string("SDL_AUDIODRIVER=") + server.setup.driver,
            "PULSE_SERVER=unix:" + server.folder + "/run/pulse/native",
            "PULSE_CLIENTCONFIG=" + server.folder + "/client.conf",
            "PULSE_RUNTIME_PATH=" + server.folder + "/run/pulse",
            "PIPEWIRE_RUNTIME_DIR=" + server.folder + "/run",
            "PIPEWIRE_REMOTE=pipewire-0",
            "HOME=" + server.folder + "/home"};
}

void UseSoundServer(const SoundServer& server) { ApplySettings(SoundClientEnvironment(server)); }

pid_t StartSoundClient(const SoundServer& server, const std::vector<std::string>& argv, int outFd) {
    return StartChild(SoundClientEnvironment(server), argv, outFd, -1);
}

std::string SoundCommandLine(const SoundServer& server, const std::string& command) {
    std::string settings;
    for (const std::string& setting : SoundClientEnvironment(server)) settings += "'" + setting + "' ";
    return "env " + settings + command;
}

CommandResult RunSoundCommand(const SoundServer& server, const std::string& command) {
    return RunCommand(SoundCommandLine(server, command));
}
