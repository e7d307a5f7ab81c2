// kamora-tool decompress: decodes a raw LZ stream through the show's own extraction.
#include "lib/package_tool.h"
#include "package/lz.h"
#include "tool_commands.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

static bool ParseSize(const char* text, int32_t* size) {
    char* end = nullptr;
    errno = 0;
    long long value = strtoll(text, &end, 10);
    if (errno || end == text || *end || value < 0 || value > INT32_MAX) return false;
    *size = (int32_t)value;
    return true;
}

static int RunDecompress(int argc, char** argv) {
    int32_t size = 0;
    if (WantsHelp(argc, argv) || argc != 4 || !ParseSize(argv[3], &size)) {
        bool help = WantsHelp(argc, argv);
        fprintf(help ? stdout : stderr,
                "usage: kamora-tool decompress IN OUT SIZE\n\n"
                "Decodes the LZ stream IN into OUT, which must come to SIZE bytes (0 to 2147483647).\n"
                "A stream that ends early is an error and leaves no OUT.\n");
        return help ? 0 : 2;
    }
    SendMessagesToStderr();
    return ExtractCompressedEntry(nullptr, argv[1], argv[2], 0, INT32_MAX, size) ? 0 : 1;  // the whole file
}

static ToolCommand Decompress("decompress", "decode a raw LZ stream", RunDecompress);
