// kamora-tool extract: writes a package's entries to files through the show's own extraction.
#include "lib/package_tool.h"
#include "tool_commands.h"

#include <cstring>

static int Usage(FILE* out) {
    fprintf(out, "usage: kamora-tool extract PKG [NAME...] [-C DIR]\n\n"
                 "Writes every entry of PKG, or the named ones, as files in DIR (default: the current\n"
                 "folder). A damaged package is refused before anything is written, and an entry whose\n"
                 "data turns out to be damaged leaves no file.\n");
    return out == stdout ? 0 : 2;
}

// Every entry's name once, in package order (the show only ever finds the first of equal names).
static std::vector<std::string> AllNames(const std::vector<PackageRecord>& records) {
    std::vector<std::string> names;
    for (const PackageRecord& r : records) {
        bool seen = false;
        for (const std::string& n : names) seen = seen || n == r.name;
        if (!seen) names.push_back(r.name);
    }
    return names;
}

static int RunExtract(int argc, char** argv) {
    if (WantsHelp(argc, argv)) return Usage(stdout);
    const char* folder = ".";
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "-C") == 0 && i + 1 < argc) folder = argv[++i];
        else if (argv[i][0] == '-' && argv[i][1]) return Usage(stderr);
        else args.push_back(argv[i]);
    }
    if (args.empty()) return Usage(stderr);
    SendMessagesToStderr();
    const char* package = args[0].c_str();
    std::vector<PackageRecord> records;
    std::string problem;
    if (!ReadPackageIndex(package, &records, &problem)) {
        fprintf(stderr, "kamora-tool extract: %s\n", problem.c_str());
        return 1;
    }
    std::vector<std::string> names(args.begin() + 1, args.end());
    if (names.empty()) names = AllNames(records);
    for (const std::string& name : names)
        if (!IsPlainFileName(name.c_str())) {
            fprintf(stderr, "kamora-tool extract: entry name '%s' is not a plain file name\n", name.c_str());
            return 1;
        }
    InitUnpacker(nullptr, package, 0, false);
    snprintf(TempFolder, sizeof TempFolder, "%s", folder);
    for (const std::string& name : names) {
        if (!ExtractFile(nullptr, name.c_str())) return 1;
        printf("%s\n", ExtractedPath);
    }
    return 0;
}

static ToolCommand Extract("extract", "write the entries of a package to files", RunExtract);
