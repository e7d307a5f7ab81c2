// A hidden demo window with its GL context for tests that draw (run them under Xvfb).
#pragma once

// Opens the window once per test program (kept open until exit); false without a display.
bool OpenTestGLContext(int width = 640, int height = 480);

// Reads the RGBA pixel at (x, y), y counted from the bottom.
void ReadTestPixel(int x, int y, unsigned char rgba[4]);
