// The fixed-function layer: the OpenGL 1.1 subset the show draws with, on OpenGL ES 3.0 (and
// WebGL 2), in the manner of raylib's rlgl. Immediate-mode vertices are carried into clip and eye
// space on the CPU as they are given and gathered into one buffer; a batch is drawn only when state
// that changes the picture changes, so a mesh drawn a triangle at a time, or a fountain whose every
// particle has its own matrix, costs a few draw calls. Lighting, fog and sphere-map coordinates
// follow OpenGL 1.1's own equations in small generated shaders.
//
// The routines keep their own names: a symbol named like a GL entry point would clash with the ES
// library and with Emscripten's WebGL library. The show's one GL include (gfx/gl.h) maps the GL
// names onto them.
#pragma once

#include <GLES3/gl3.h>

// OpenGL 1.1's tokens that OpenGL ES lacks, with OpenGL 1.1's values.
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_SMOOTH 0x1D01
#define GL_FLAT 0x1D00
#define GL_LIGHTING 0x0B50
#define GL_LIGHT0 0x4000
#define GL_LIGHT1 0x4001
#define GL_COLOR_MATERIAL 0x0B57
#define GL_AMBIENT 0x1200
#define GL_DIFFUSE 0x1201
#define GL_SPECULAR 0x1202
#define GL_POSITION 0x1203
#define GL_EMISSION 0x1600
#define GL_SHININESS 0x1601
#define GL_AMBIENT_AND_DIFFUSE 0x1602
#define GL_FOG 0x0B60
#define GL_FOG_DENSITY 0x0B62
#define GL_FOG_START 0x0B63
#define GL_FOG_END 0x0B64
#define GL_FOG_MODE 0x0B65
#define GL_FOG_COLOR 0x0B66
#define GL_EXP 0x0800
#define GL_EXP2 0x0801
#define GL_S 0x2000
#define GL_T 0x2001
#define GL_TEXTURE_GEN_S 0x0C60
#define GL_TEXTURE_GEN_T 0x0C61
#define GL_TEXTURE_GEN_MODE 0x2500
#define GL_SPHERE_MAP 0x2402
#define GL_LINE_SMOOTH 0x0B20
#define GL_POINT_SMOOTH_HINT 0x0C51
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50

typedef double GLdouble;
typedef double GLclampd;

// Context life: forget every state and GL object when a context is made (the objects of the old one
// went with it); the pending batch is drawn before a swap, a read or a framebuffer switch.
void ResetFixedGL();
void FlushFixedGL();
// The layer's own stand-in for a GL routine looked up by name (framebuffer binds and blits, which
// must draw the pending batch first), or null: the caller then asks the driver.
void* FixedEntryPoint(const char* name);

// Capabilities: the fixed-function ones live here, the others pass on to ES.
void FixedEnable(GLenum capability);
void FixedDisable(GLenum capability);
GLboolean FixedIsEnabled(GLenum capability);
void FixedHint(GLenum target, GLenum mode);
void FixedShadeModel(GLenum mode);
void FixedPointSize(GLfloat size);

// Lights, material and fog.
void FixedLightfv(GLenum light, GLenum name, const GLfloat* values);
void FixedMaterialf(GLenum face, GLenum name, GLfloat value);
void FixedMaterialfv(GLenum face, GLenum name, const GLfloat* values);
void FixedFogi(GLenum name, GLint value);
void FixedFogf(GLenum name, GLfloat value);
void FixedFogfv(GLenum name, const GLfloat* values);
void FixedTexGeni(GLenum coordinate, GLenum name, GLint value);

// Textures: passed on, with what decides whether a bound texture can be sampled at all.
void FixedBindTexture(GLenum target, GLuint texture);
void FixedDeleteTextures(GLsizei count, const GLuint* textures);
void FixedTexParameteri(GLenum target, GLenum name, GLint value);
void FixedTexParameterf(GLenum target, GLenum name, GLfloat value);
void FixedTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                     GLenum format, GLenum type, const void* pixels);
void FixedTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void* pixels);
void FixedPixelStorei(GLenum name, GLint value);

// Frame state that changes what a pending batch would draw.
void FixedBlendFunc(GLenum source, GLenum destination);
void FixedDepthFunc(GLenum function);
void FixedDepthMask(GLboolean flag);
void FixedViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void FixedScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void FixedClear(GLbitfield mask);
void FixedClearDepth(GLclampd depth);
void FixedFinish();
void FixedReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
void FixedGetIntegerv(GLenum name, GLint* values);
