#include "pulse_daemon.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

static std::string SinkModule(const PulseSink& sink) {
    return "module-null-sink sink_name=" + sink.name + " sink_properties=device.description=" + sink.description;
}

// In the child: the daemon's own folders, its log, then pulseaudio itself. -n loads no default
// script: only the null sinks and the socket. Root needs --system=no to run it as a user daemon.
[[noreturn]] static void ExecDaemon(const PulseDaemon& daemon, const std::vector<PulseSink>& sinks) {
    setenv("HOME", (daemon.folder + "/home").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (daemon.folder + "/run").c_str(), 1);
    setenv("PULSE_RUNTIME_PATH", (daemon.folder + "/run").c_str(), 1);
    setenv("PULSE_STATE_PATH", (daemon.folder + "/state").c_str(), 1);
    unsetenv("PULSE_SERVER");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    int log = open((daemon.folder + "/log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (log >= 0) {
        dup2(log, 1);
        dup2(log, 2);
        close(log);
    }
    std::vector<std::string> args = {"pulseaudio", "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
                                     "--use-pid-file=no", "--realtime=no", "--high-priority=no",
                                     "--log-target=stderr"};
    for (const PulseSink& sink : sinks) args.insert(args.end(), {"-L", SinkModule(sink)});
    args.insert(args.end(), {"-L", "module-native-protocol-unix auth-anonymous=1 socket=" + daemon.folder + "/native"});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    execvp("pulseaudio", argv.data());
    _exit(127);
}

bool StartPulseDaemon(PulseDaemon* daemon, const std::vector<PulseSink>& sinks) {
    char folder[] = "/tmp/kamora-pulse-XXXXXX";
    if (!mkdtemp(folder)) return false;
    daemon->folder = folder;
    daemon->server = "unix:" + daemon->folder + "/native";
    for (const char* sub : {"/run", "/state", "/home"}) fs::create_directories(daemon->folder + sub);
    std::ofstream(daemon->folder + "/client.conf") << "autospawn = no\n";
    pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) ExecDaemon(*daemon, sinks);
    daemon->pid = pid;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            daemon->pid = 0;
            break;
        }
        if (RunPulseCommand(*daemon, "pactl info").exitCode == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    fprintf(stderr, "pulseaudio did not come up:\n%s\n", ReadWholeFile(daemon->folder + "/log").c_str());
    StopPulseDaemon(daemon);
    return false;
}

void StopPulseDaemon(PulseDaemon* daemon) {
    if (daemon->pid > 0) {
        kill(daemon->pid, SIGTERM);
        int waited = 0;
        while (waitpid(daemon->pid, nullptr, WNOHANG) == 0 && waited++ < 250)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (waited > 250) {
            kill(daemon->pid, SIGKILL);
            waitpid(daemon->pid, nullptr, 0);
        }
        daemon->pid = 0;
    }
    if (!daemon->folder.empty()) {
        std::error_code error;
        fs::remove_all(daemon->folder, error);
        daemon->folder.clear();
    }
}

PulseDaemon::~PulseDaemon() { StopPulseDaemon(this); }

std::vector<std::string> PulseClientEnvironment(const PulseDaemon& daemon) {
    return {"SDL_AUDIODRIVER=pulseaudio", "PULSE_SERVER=" + daemon.server,
            "PULSE_CLIENTCONFIG=" + daemon.folder + "/client.conf", "PULSE_RUNTIME_PATH=" + daemon.folder + "/run",
            "HOME=" + daemon.folder + "/home"};
}

void UsePulseDaemon(const PulseDaemon& daemon) {
    for (const std::string& setting : PulseClientEnvironment(daemon)) {
        size_t equals = setting.find('=');
        setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
}

std::string PulseCommandLine(const PulseDaemon& daemon, const std::string& command) {
    std::string settings;
    for (const std::string& setting : PulseClientEnvironment(daemon)) settings += "'" + setting + "' ";
    return "env " + settings + command;
}

CommandResult RunPulseCommand(const PulseDaemon& daemon, const std::string& command) {
    return RunCommand(PulseCommandLine(daemon, command));
}
