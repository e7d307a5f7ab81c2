// A private PulseAudio daemon for one test: its own runtime, state and home folders, null sinks,
// and a native socket that only this test's clients are pointed at. Stopped by its process id.
#pragma once

#include "run_command.h"

#include <string>
#include <sys/types.h>
#include <vector>

struct PulseSink {
    std::string name;         // the sink's name (its monitor is name + ".monitor")
    std::string description;  // what SDL lists as the device's name
};

struct PulseDaemon {
    pid_t pid = 0;
    std::string folder;  // under /tmp: a socket path must stay short
    std::string server;  // "unix:<folder>/native"
    ~PulseDaemon();      // stops it, should a test end early
};

// Starts the daemon with `sinks` loaded and waits until it answers; false (with the daemon's
// log on stderr) when it does not come up within 10 s.
bool StartPulseDaemon(PulseDaemon* daemon, const std::vector<PulseSink>& sinks);
void StopPulseDaemon(PulseDaemon* daemon);

// NAME=value settings that make SDL (and pactl, parec) play through this daemon only.
std::vector<std::string> PulseClientEnvironment(const PulseDaemon& daemon);
// The same settings for this process, before its sound is started.
void UsePulseDaemon(const PulseDaemon& daemon);
// A pulse client command line ("pactl ...") set to talk to the daemon, for the shell.
std::string PulseCommandLine(const PulseDaemon& daemon, const std::string& command);
CommandResult RunPulseCommand(const PulseDaemon& daemon, const std::string& command);
