#pragma once

// Keeps the GL driver's shared objects mapped until the process ends, in sanitizer builds only.
// The driver is unloaded when the display closes, before LeakSanitizer looks at the heap; what it
// kept for its lifetime then shows up as leaks from "<unknown module>" that no suppression can name.
// Pinned, those blocks keep their module names and the reviewed suppressions apply to them.
// Does nothing in a normal build.
void PinGLDriver();
