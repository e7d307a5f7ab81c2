// Placeholder until the package reader lands: finds no entry in any package.
#include "package/package.h"

#include "platform/temp_folder.h"

#include <cstdio>

char PackagePath[kPackagePathCapacity];
char TempFolder[kPackagePathCapacity];
char ExtractedPath[kPackagePathCapacity];

bool InitUnpacker(WindowHandle, const char* packagePath, int32_t, bool) {
    snprintf(PackagePath, sizeof PackagePath, "%s", packagePath);
    const char* folder = PrivateTempFolder();
    snprintf(TempFolder, sizeof TempFolder, "%s", folder ? folder : "");
    return true;
}

bool ExtractFile(WindowHandle window, const char* entryName) {
    char text[kPackagePathCapacity + 64];
    snprintf(ExtractedPath, sizeof ExtractedPath, "%s/%s", TempFolder, entryName);
    FILE* file = fopen(PackagePath, "rb");
    if (!file) {
        snprintf(text, sizeof text, "Package file '%s' not found!.\n", PackagePath);
        ShowMessageBox(window, text, "Extract file Error", MB_OK | MB_ICONERROR);
        return false;
    }
    fclose(file);
    snprintf(text, sizeof text, "File %s not found in package!", entryName);
    ShowMessageBox(window, text, "Unpacker Error", MB_OK | MB_ICONERROR);
    return false;
}

void DeleteExtractedFile() { remove(ExtractedPath); }
