// The LZ encoder: the compressed form a package's compressed entries carry (the show itself only
// decodes). A greedy parse over a binary-tree match finder; its output is fully determined by the
// input, byte for byte.
#pragma once

#include "platform/msgbox.h"

// CompressFile's results.
enum { LZ_SOURCE_FAILED = 1, LZ_OUTPUT_FAILED = 2, LZ_NOT_SMALLER = 3, LZ_SMALLER = 4 };

// Compresses the whole LZ input stream into the LZ output stream.
void LZEncode();

// Compresses `sourcePath` into `outputPath`; one of the results above. An output that cannot be
// written in full is removed and reported as LZ_OUTPUT_FAILED.
int CompressFile(WindowHandle window, const char* sourcePath, const char* outputPath);
