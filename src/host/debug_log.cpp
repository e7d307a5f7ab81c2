#include "host/debug_log.h"

#include "host/demo_config.h"

#include <cstdio>

bool LogEnabled = false;
char LogLineBuffer[1024];

static FILE* LogFile = nullptr;
static FILE* EchoFile = nullptr;

bool OpenDebugLog() {
    LogFile = fopen("ddebug.log", "w+");
    if (!LogFile) {
        LogEnabled = false;
        return false;
    }
    LogEnabled = true;
    fseek(LogFile, 0, SEEK_END);
    if (ftell(LogFile) == 0) {
        snprintf(LogLineBuffer, sizeof LogLineBuffer, "\n\n Starting debug info for: %s", DemoTitle);
        WriteDebugLog(LogLineBuffer);
    }
    return true;
}

void WriteDebugLog(const char* text) {
    if (LogFile && LogEnabled) fprintf(LogFile, "%s\n", text);
    if (EchoFile) fprintf(EchoFile, "%s\n", text);
}

void SetDebugLogEcho(FILE* echo) { EchoFile = echo; }

void CloseDebugLog() {
    if (!LogFile) return;
    fclose(LogFile);
    LogFile = nullptr;
    LogEnabled = false;
}
