// kamora-tool: the crew's toolbox for Ka Mora (packages, scenes, music, frames, benchmarks).
#include "tool_commands.h"

#include <cstdio>
#include <cstring>

#ifndef KAMORA_VERSION
#define KAMORA_VERSION "0"
#endif

enum { kMaxCommands = 32 };
static const ToolCommand* Commands[kMaxCommands];
static int CommandCount = 0;

ToolCommand::ToolCommand(const char* n, const char* s, ToolMain r) : name(n), summary(s), run(r) {
    if (CommandCount < kMaxCommands) Commands[CommandCount++] = this;
}

int ToolCommandCount() { return CommandCount; }
const ToolCommand* ToolCommandAt(int index) { return Commands[index]; }

const ToolCommand* FindToolCommand(const char* name) {
    for (int i = 0; i < CommandCount; ++i)
        if (strcmp(Commands[i]->name, name) == 0) return Commands[i];
    return nullptr;
}

bool WantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!strcmp(argv[i], "-h") || !strcmp(argv[i], "--help")) return true;
    return false;
}

static void PrintOverview(FILE* out) {
    fprintf(out, "usage: kamora-tool <command> [arguments]\n\n"
                 "The toolbox of Ka Mora. Commands:\n");
    fprintf(out, "  %-10s %s\n", "version", "print the version");
    for (int i = 0; i < CommandCount; ++i) fprintf(out, "  %-10s %s\n", Commands[i]->name, Commands[i]->summary);
    fprintf(out, "\n'kamora-tool <command> --help' tells more about one command.\n");
}

int main(int argc, char** argv) {
    if (argc < 2 || !strcmp(argv[1], "--help") || !strcmp(argv[1], "-h") || !strcmp(argv[1], "help")) {
        PrintOverview(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (!strcmp(argv[1], "version") || !strcmp(argv[1], "--version")) {
        printf("kamora-tool %s\n", KAMORA_VERSION);
        return 0;
    }
    const ToolCommand* command = FindToolCommand(argv[1]);
    if (!command) {
        fprintf(stderr, "kamora-tool: unknown command '%s'\n", argv[1]);
        PrintOverview(stderr);
        return 2;
    }
    return command->run(argc - 1, argv + 1);
}
