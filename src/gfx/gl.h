// The show's one GL include: OpenGL 1.1 and GLU, as the drawing code calls them. Every module
// that draws includes this and nothing else of GL, so a target with another GL (or none of the
// fixed-function kind) is decided here alone.
//
// On OpenGL ES 3.0 and WebGL 2 (KAMORA_GLES) the fixed-function layer stands in for OpenGL 1.1 and
// GLU: the GL names the show calls are mapped onto the layer's routines here, so that the drawing
// code stays as it is and no symbol of ours is named like a GL entry point.
#pragma once

#if KAMORA_GLES
#include "fixed/fixed_batch.h"
#include "fixed/fixed_gl.h"
#include "fixed/fixed_glu.h"
#include "fixed/fixed_matrix.h"

#define glBegin FixedBegin
#define glEnd FixedEnd
#define glVertex3f FixedVertex3f
#define glNormal3f FixedNormal3f
#define glTexCoord2f FixedTexCoord2f
#define glColor3f FixedColor3f
#define glColor4f FixedColor4f

#define glMatrixMode FixedMatrixMode
#define glLoadIdentity FixedLoadIdentity
#define glMultMatrixf FixedMultMatrixf
#define glPushMatrix FixedPushMatrix
#define glPopMatrix FixedPopMatrix
#define glTranslatef FixedTranslatef
#define glRotatef FixedRotatef
#define glScalef FixedScalef

#define glEnable FixedEnable
#define glDisable FixedDisable
#define glIsEnabled FixedIsEnabled
#define glHint FixedHint
#define glShadeModel FixedShadeModel
#define glPointSize FixedPointSize
#define glLightfv FixedLightfv
#define glMaterialf FixedMaterialf
#define glMaterialfv FixedMaterialfv
#define glFogi FixedFogi
#define glFogf FixedFogf
#define glFogfv FixedFogfv
#define glTexGeni FixedTexGeni

#define glBindTexture FixedBindTexture
#define glDeleteTextures FixedDeleteTextures
#define glTexParameteri FixedTexParameteri
#define glTexParameterf FixedTexParameterf
#define glTexImage2D FixedTexImage2D
#define glTexSubImage2D FixedTexSubImage2D
#define glPixelStorei FixedPixelStorei

#define glBlendFunc FixedBlendFunc
#define glDepthFunc FixedDepthFunc
#define glDepthMask FixedDepthMask
#define glViewport FixedViewport
#define glScissor FixedScissor
#define glClear FixedClear
#define glClearDepth FixedClearDepth
#define glFinish FixedFinish
#define glReadPixels FixedReadPixels
#define glGetIntegerv FixedGetIntegerv

#define gluPerspective FixedPerspective
#define gluLookAt FixedLookAt
#define gluBuild2DMipmaps FixedBuild2DMipmaps
#define gluNewQuadric FixedNewQuadric
#define gluDeleteQuadric FixedDeleteQuadric
#define gluQuadricNormals FixedQuadricNormals
#define gluQuadricTexture FixedQuadricTexture
#define gluSphere FixedSphere
#else
#ifdef _WIN32
// Windows' gl.h includes windows.h unless the two macros it needs are there; windows.h's own
// macros (IDOK, MB_OK, SC_SCREENSAVE...) would take the names of the show's platform layer.
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#endif

#include <GL/gl.h>
#include <GL/glu.h>
#endif
