// kamora-tool compress: the raw LZ stream of a file, as a package's compressed entries hold it.
#include "lib/package_tool.h"
#include "package/lz_encode.h"
#include "tool_commands.h"

static int RunCompress(int argc, char** argv) {
    if (WantsHelp(argc, argv) || argc != 3) {
        bool help = WantsHelp(argc, argv);
        fprintf(help ? stdout : stderr,
                "usage: kamora-tool compress IN OUT\n\n"
                "Writes the LZ stream of IN to OUT and prints both sizes.\n");
        return help ? 0 : 2;
    }
    SendMessagesToStderr();
    int result = CompressFile(nullptr, argv[1], argv[2]);
    if (result != LZ_SMALLER && result != LZ_NOT_SMALLER) return 1;
    FILE* in = fopen(argv[1], "rb");
    FILE* out = fopen(argv[2], "rb");
    long long inSize = in ? FileLength(in) : -1, outSize = out ? FileLength(out) : -1;
    if (in) fclose(in);
    if (out) fclose(out);
    printf("%s: %lld -> %lld bytes%s\n", argv[1], inSize, outSize, result == LZ_SMALLER ? "" : " (not smaller)");
    return 0;
}

static ToolCommand Compress("compress", "write the raw LZ stream of a file", RunCompress);
