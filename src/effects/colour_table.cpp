#include "effects/colour_table.h"

#include "package/package.h"

#include <cstdio>

bool ReadColourTable(float* colours, int count) {
    FILE* file = fopen(ExtractedPath, "rb");
    if (!file) return false;
    for (int i = 0; i < count; ++i) colours[i] = (float)fgetc(file) * 0.003921569f;
    fclose(file);
    DeleteExtractedFile();
    return true;
}
