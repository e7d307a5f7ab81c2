// kamora-tool's subcommands. Each command file registers itself with one static
// ToolCommand, so adding a command touches no other file.
#pragma once

typedef int (*ToolMain)(int argc, char** argv);  // argv[0] is the command's name

struct ToolCommand {
    const char* name;
    const char* summary;  // one line for the overview
    ToolMain run;
    ToolCommand(const char* name, const char* summary, ToolMain run);
};

int ToolCommandCount();
const ToolCommand* ToolCommandAt(int index);
const ToolCommand* FindToolCommand(const char* name);

// True when argv holds -h or --help; commands print their own usage then.
bool WantsHelp(int argc, char** argv);
