// Raw colour tables: headerless 24-bit RGB pixels turned into floats, for the scroller's text
// line and the picture grid.
#pragma once

// Reads `count` bytes one at a time from the file ExtractedPath names into `colours` as
// byte / 255, then deletes the file. A short file is not detected: its missing bytes come back
// as end-of-file and give slightly negative colours. False when the file does not open.
bool ReadColourTable(float* colours, int count);
