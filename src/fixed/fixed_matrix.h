// The modelview and projection stacks of the fixed-function layer, and the 4x4 arithmetic they
// need. Matrices are column-major, as GL stores them.
#pragma once

#include "fixed/fixed_gl.h"

struct FixedMatrix {
    float m[16];
};

void FixedMatrixMode(GLenum mode);
void FixedLoadIdentity();
void FixedMultMatrixf(const GLfloat* m);
void FixedPushMatrix();
void FixedPopMatrix();
void FixedTranslatef(GLfloat x, GLfloat y, GLfloat z);
void FixedRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z);
void FixedScalef(GLfloat x, GLfloat y, GLfloat z);

// Both stacks back to one identity each.
void ResetFixedMatrices();
const FixedMatrix& FixedModelview();
const FixedMatrix& FixedProjection();
// Projection times modelview, made again only after either changes.
const FixedMatrix& FixedModelviewProjection();
// The upper 3x3 of the modelview's inverse transpose, which carries normals into eye space
// (row-major 3x3). Computed once per modelview change.
const float* FixedNormalMatrix();
// Counts modelview changes, so that a cached eye-space normal knows when it is stale.
unsigned FixedModelviewVersion();
// out = m * (x, y, z, w).
void TransformFixedPoint(const FixedMatrix& m, const float in[4], float out[4]);
