// GL entry points beyond OpenGL 1.1 (framebuffer objects), looked up in the driver.
#pragma once

// The address of the GL routine `name` for the current context, or null when the driver has none.
void* LookUpGLEntryPoint(const char* name);
