// Ka Mora: the show. Its command line is exactly "-nodialog" or exactly "-ddebug".
#include "host/win_main.h"

int main(int argc, char** argv) {
    static char commandLine[4096];
    JoinCommandLine(argc, argv, commandLine, sizeof commandLine);
    return WinMain(commandLine);
}
