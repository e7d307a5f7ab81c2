// The DebugLog: an optional plain-text trace of the show, written to "ddebug.log" with -ddebug.
#pragma once

#include <cstdio>

extern bool LogEnabled;
// Callers format a line here first ("sprintf style") and pass it to WriteDebugLog.
extern char LogLineBuffer[1024];

bool OpenDebugLog();
// Appends `text` and a line feed; does nothing while the log is closed. Never a format string.
void WriteDebugLog(const char* text);
void CloseDebugLog();

// Also writes every DebugLog line to `echo` (null: no echo), whether or not the log is open.
// The toolbox uses it to show what a load reports.
void SetDebugLogEcho(FILE* echo);
