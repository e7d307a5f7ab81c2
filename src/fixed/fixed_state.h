// The fixed-function state that the layer's modules share: what OpenGL 1.1 would hold, as the
// shaders read it. One record, written through the routines of fixed_gl.h, fixed_matrix.h and
// fixed_batch.h; its defaults are OpenGL 1.1's.
#pragma once

#include "fixed/fixed_gl.h"

struct FixedLight {
    bool enabled;
    float position[4];  // eye space: transformed by the modelview current when it was set
    float ambient[4];
    float diffuse[4];
    float specular[4];
};

struct FixedTextureRecord {
    bool defined;  // level 0 has pixels
    int levels;    // levels given so far
    int width, height;
    GLenum minFilter;
};

struct FixedPipeline {
    bool texture2D, lighting, colourMaterial, fog, genS, genT, lineSmooth;
    FixedLight lights[2];
    float sceneAmbient[4];
    float materialAmbient[4], materialDiffuse[4], materialSpecular[4], materialEmission[4];
    float shininess;
    GLenum fogMode;
    float fogDensity, fogStart, fogEnd;
    float fogColour[4];
    GLenum genModeS, genModeT;
    float pointSize;
    GLuint boundTexture;
    int viewport[4];
    unsigned version;  // counts every change the shaders' uniforms see
};

extern FixedPipeline Fixed;

// True when the bound texture can be sampled: OpenGL 1.1 leaves texturing off for a texture without
// pixels, or one whose filter wants mipmaps it lacks.
bool FixedTextureComplete();
