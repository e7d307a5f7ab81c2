// What the toolbox asks of the running process and the system beyond SDL: its environment and
// the resources it used.
#pragma once

// Sets the environment variable `name` to `value` for this process and the ones it starts; an
// existing value stays unless `replace`.
void SetEnvironmentValue(const char* name, const char* value, bool replace);

// The most memory the process has held at once (its peak resident set), in MiB.
double PeakMemoryMegabytes();

// The processor time (user and system) of the child processes that have ended and been waited
// for, in seconds.
double EndedChildrenSeconds();

// This process's id.
long CurrentProcessId();
// True when no process `pid` runs; one that runs, or that we may not ask about, counts as running.
bool ProcessHasEnded(long pid);
