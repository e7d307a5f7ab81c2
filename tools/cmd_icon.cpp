// kamora-tool icon: the program's icon as PNG files in the layout of a desktop icon theme.
#include "lib/png.h"
#include "setup/icon_picture.h"
#include "tool_commands.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

static const int kThemeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

static bool WriteIcon(const std::string& folder, int side) {
    std::string size = std::to_string(side) + "x" + std::to_string(side);
    std::string apps = folder + "/" + size + "/apps";
    std::error_code error;
    std::filesystem::create_directories(apps, error);
    RgbImage image;
    image.width = image.height = side;
    image.pixels.resize((size_t)side * side * 3);
    PaintIconPicture(image.pixels.data(), side);
    if (WritePng(apps + "/kamora.png", image)) return true;
    fprintf(stderr, "kamora-tool icon: cannot write %s/kamora.png\n", apps.c_str());
    return false;
}

static int RunIcon(int argc, char** argv) {
    if (WantsHelp(argc, argv) || argc < 2) {
        bool help = WantsHelp(argc, argv);
        fprintf(help ? stdout : stderr,
                "usage: kamora-tool icon FOLDER [SIZE...]\n\n"
                "Writes the setup dialog's icon as FOLDER/<SIZE>x<SIZE>/apps/kamora.png for each\n"
                "SIZE (16 to 512; default 16 22 24 32 48 64 128 256), as an icon theme lays it out.\n");
        return help ? 0 : 2;
    }
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        long side = strtol(argv[i], &end, 10);
        if (*end || side < 16 || side > 512) {
            fprintf(stderr, "kamora-tool icon: size '%s' is not a number from 16 to 512\n", argv[i]);
            return 2;
        }
        if (!WriteIcon(argv[1], (int)side)) return 1;
    }
    if (argc == 2)
        for (int side : kThemeSizes)
            if (!WriteIcon(argv[1], side)) return 1;
    return 0;
}

static ToolCommand Icon("icon", "write the program's icon at the icon theme's sizes", RunIcon);
