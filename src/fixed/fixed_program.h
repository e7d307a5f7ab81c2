// The fixed-function layer's shaders: one small GLSL ES 3.00 program per combination of the
// switches a batch uses (texture, lighting and each light, colour material, fog mode, sphere map),
// generated from one source with #defines and built the first time it is needed.
#pragma once

#include "fixed/fixed_gl.h"

// Vertex attribute slots of every program.
enum FixedAttribute {
    kAttribClip = 0,
    kAttribEye = 1,
    kAttribNormal = 2,
    kAttribColour = 3,
    kAttribTexCoord = 4,
    kAttribCoverage = 5,
};

// The primitive kind of smooth lines: triangles whose alpha is the line's coverage.
enum : GLenum { kSmoothLines = 0x10001 };

// Makes the program for the current state and `primitive` (a GL primitive or kSmoothLines) current
// with its uniforms up to date. False when it does not build (a message has been written to stderr
// once).
bool UseFixedProgram(GLenum primitive);
// Forgets every program (the context they lived in is gone).
void ResetFixedPrograms();
