#include "platform/process.h"

#include <cerrno>
#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

#ifdef _WIN32
void SetEnvironmentValue(const char* name, const char* value, bool replace) {
    if (replace || !getenv(name)) _putenv_s(name, value);
}

double PeakMemoryMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
}

// (EndedChildrenSeconds is platform/child_process.cpp's, which starts the children.)

long CurrentProcessId() { return (long)GetCurrentProcessId(); }

bool ProcessHasEnded(long pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, (DWORD)pid);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // (no such process)
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}
#else
void SetEnvironmentValue(const char* name, const char* value, bool replace) { setenv(name, value, replace); }

double PeakMemoryMegabytes() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // Linux counts it in KiB
}

double EndedChildrenSeconds() {
    struct rusage usage;
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

long CurrentProcessId() { return (long)getpid(); }

bool ProcessHasEnded(long pid) { return kill((pid_t)pid, 0) != 0 && errno == ESRCH; }
#endif
