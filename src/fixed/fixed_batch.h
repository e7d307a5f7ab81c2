// Immediate mode for the fixed-function layer: glBegin/glEnd and the vertex attributes. Each vertex
// is carried into clip and eye space as it is given and joins the pending batch; the batch is drawn when the
// primitive kind changes, when state that changes the picture changes, when it is full, and before
// a swap or a read.
#pragma once

#include "fixed/fixed_gl.h"

// One vertex as the shaders take it: its clip-space and eye-space positions, its eye-space normal,
// colour and texture coordinates, and (smooth lines only) where it lies across and along its line.
struct BatchVertex {
    float clip[4];
    float eye[3];
    float normal[3];
    float colour[4];
    float texCoord[2];
    float coverage[4];
};

void FixedBegin(GLenum mode);
void FixedEnd();
void FixedVertex3f(GLfloat x, GLfloat y, GLfloat z);
void FixedNormal3f(GLfloat x, GLfloat y, GLfloat z);
void FixedTexCoord2f(GLfloat s, GLfloat t);
void FixedColor3f(GLfloat r, GLfloat g, GLfloat b);
void FixedColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);

// Draws the pending batch now.
void FlushFixedBatch();
// Forgets the batch's GL objects (the context they lived in is gone) and the current vertex.
void ResetFixedBatch();
// The current colour, as GL keeps it between vertices.
const float* FixedCurrentColour();
