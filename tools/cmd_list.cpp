// kamora-tool list: the entries of a package, one line each.
#include "lib/package_tool.h"
#include "tool_commands.h"

static int RunList(int argc, char** argv) {
    if (WantsHelp(argc, argv) || argc != 2) {
        bool help = WantsHelp(argc, argv);
        fprintf(help ? stdout : stderr,
                "usage: kamora-tool list PKG\n\n"
                "One line per entry: name, unpacked size, data size, and lz or stored.\n"
                "Exits 1 with a message when the package is damaged.\n");
        return help ? 0 : 2;
    }
    std::vector<PackageRecord> records;
    std::string problem;
    bool sound = ReadPackageIndex(argv[1], &records, &problem);
    for (const PackageRecord& r : records)
        printf("%-24s %10d %10lld %s\n", r.name, r.unpackedSize, (long long)r.dataSize, r.flag == 1 ? "lz" : "stored");
    if (sound) return 0;
    fprintf(stderr, "kamora-tool list: %s\n", problem.c_str());
    return 1;
}

static ToolCommand List("list", "list the entries of a package", RunList);
