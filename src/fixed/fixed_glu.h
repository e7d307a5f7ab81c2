// The GLU routines the show uses, on the fixed-function layer: the projection and the camera,
// mipmapped textures, and the quadric sphere.
#pragma once

#include "fixed/fixed_gl.h"

#define GLU_SMOOTH 100000
#define GLU_FLAT 100001
#define GLU_NONE 100002

struct FixedQuadric;
typedef FixedQuadric GLUquadric;
typedef FixedQuadric GLUquadricObj;

void FixedPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
void FixedLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
                 GLdouble upX, GLdouble upY, GLdouble upZ);
GLint FixedBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                          const void* pixels);
GLUquadric* FixedNewQuadric();
void FixedDeleteQuadric(GLUquadric* quadric);
void FixedQuadricNormals(GLUquadric* quadric, GLenum normals);
void FixedQuadricTexture(GLUquadric* quadric, GLboolean texture);
void FixedSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);
