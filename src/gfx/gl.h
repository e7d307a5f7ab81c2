// The show's one GL include: OpenGL 1.1 and GLU, as the drawing code calls them. Every module
// that draws includes this and nothing else of GL, so a target with another GL (or none of the
// fixed-function kind) is decided here alone.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
