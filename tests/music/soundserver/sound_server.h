// A private sound server for one test: PipeWire (with WirePlumber and its PulseAudio front end)
// or a PulseAudio daemon, in a short folder of its own under /tmp with its runtime, state,
// config and home folders, with null sinks, and clients pointed at it alone. The server's
// processes die with the test process however it ends (a parent-death signal), and a guardian
// outside the test's process tree removes the folder once the test process is gone.
#pragma once

#include "run_command.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/types.h>
#include <vector>

// Which server, and which of SDL's drivers the clients play through.
struct SoundSetup {
    const char* name;
    bool pipewire;     // PipeWire, else a PulseAudio daemon
    const char* driver;
};
extern const SoundSetup kPipeWire;       // SDL's pipewire driver
extern const SoundSetup kPipeWirePulse;  // SDL's pulseaudio driver through pipewire-pulse
extern const SoundSetup kPulseAudio;     // SDL's pulseaudio driver on a PulseAudio daemon
extern const std::vector<SoundSetup> kSoundSetups;  // the three

struct SoundSink {
    std::string name;         // the sink's name (its monitor is name + ".monitor")
    std::string description;  // what SDL lists as the device's name
};

struct SoundServer {
    SoundServer() = default;
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;
    SoundSetup setup{};
    std::vector<pid_t> pids;  // its processes, in the order they started
    std::string folder;       // under /tmp: a socket path must stay short
    int guardian = -1;        // the pipe whose closing sends the guardian to remove the folder
    ~SoundServer();           // stops it, should a test end early
};

// Why `setup` cannot run here (the packages it needs), or "" when it can.
std::string MissingSoundServer(const SoundSetup& setup);
#define SKIP_WITHOUT_SOUND_SERVER(setup) \
    if (!MissingSoundServer(setup).empty()) GTEST_SKIP() << MissingSoundServer(setup)
// The setups this machine can run; when there are none, the case skips naming the packages.
std::vector<SoundSetup> AvailableSoundSetups();
#define SKIP_WITHOUT_ANY_SOUND_SERVER() \
    if (AvailableSoundSetups().empty()) GTEST_SKIP() << MissingSoundServer(kPipeWire)

// Starts the server with `sinks` and waits until it answers with every sink; false (with the
// server's log on stderr) when it does not come up within 10 s.
bool StartSoundServer(SoundServer* server, const SoundSetup& setup, const std::vector<SoundSink>& sinks);
void StopSoundServer(SoundServer* server);

// Starts `argv` with `settings` (NAME=value, or NAME alone to unset one), its standard output
// and error into `outFd` and `errFd` (unless -1), to die with the thread that started it however
// the test ends; the caller waits for it.
pid_t StartChild(const std::vector<std::string>& settings, std::vector<std::string> argv, int outFd, int errFd);
// The same with the server's client settings and standard output only.
pid_t StartSoundClient(const SoundServer& server, const std::vector<std::string>& argv, int outFd = -1);
// A process that has ended (a zombie counts: it has ended, only not been reaped).
bool ProcessGone(pid_t pid);

// NAME=value settings that make SDL (and pactl, parec) play through this server only.
std::vector<std::string> SoundClientEnvironment(const SoundServer& server);
// The same settings for this process, before its sound is started.
void UseSoundServer(const SoundServer& server);
// A client command line ("pactl ...") set to talk to the server, for the shell.
std::string SoundCommandLine(const SoundServer& server, const std::string& command);
CommandResult RunSoundCommand(const SoundServer& server, const std::string& command);

