#include "platform/process.h"

#include <cstdlib>
#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
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

double EndedChildrenSeconds() { return 0; }  // the toolbox starts no child process on Windows
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
#endif
