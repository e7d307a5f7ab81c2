#include "fixed/fixed_gl.h"

#include "fixed/fixed_batch.h"
#include "fixed/fixed_matrix.h"
#include "fixed/fixed_program.h"
#include "fixed/fixed_state.h"

#include <cstring>
#include <vector>

FixedPipeline Fixed;

static std::vector<FixedTextureRecord> Textures;  // by texture name
static GLint UnpackAlignment = 4, PackAlignment = 4;
// ES state that the fixed-function routines also read back: kept here, set only on change.
static bool Blend, DepthTest, CullFace, ScissorTest;
static GLenum BlendSource, BlendDestination, DepthFunction;
static GLboolean DepthWrite;

static void Set4(float* to, float a, float b, float c, float d) { to[0] = a, to[1] = b, to[2] = c, to[3] = d; }

void ResetFixedGL() {
    FixedPipeline& f = Fixed;
    memset(&f, 0, sizeof f);
    for (FixedLight& light : f.lights) {
        Set4(light.position, 0, 0, 1, 0);
        Set4(light.ambient, 0, 0, 0, 1);
    }
    Set4(f.lights[0].diffuse, 1, 1, 1, 1);  // light 0 is white, every other black
    Set4(f.lights[0].specular, 1, 1, 1, 1);
    Set4(f.lights[1].diffuse, 0, 0, 0, 1);
    Set4(f.lights[1].specular, 0, 0, 0, 1);
    Set4(f.sceneAmbient, 0.2f, 0.2f, 0.2f, 1);
    Set4(f.materialAmbient, 0.2f, 0.2f, 0.2f, 1);
    Set4(f.materialDiffuse, 0.8f, 0.8f, 0.8f, 1);
    Set4(f.materialSpecular, 0, 0, 0, 1);
    Set4(f.materialEmission, 0, 0, 0, 1);
    f.fogMode = GL_EXP;
    f.fogDensity = 1;
    f.fogEnd = 1;
    f.genModeS = f.genModeT = 0x2400;  // GL_EYE_LINEAR, which the layer does not draw
    f.pointSize = 1;
    f.version = 1;
    glGetIntegerv(GL_VIEWPORT, f.viewport);  // the new context is current: its window's size
    Textures.assign(1, FixedTextureRecord{});
    UnpackAlignment = PackAlignment = 4;
    Blend = DepthTest = CullFace = ScissorTest = false;
    BlendSource = GL_ONE, BlendDestination = GL_ZERO, DepthFunction = GL_LESS;
    DepthWrite = GL_TRUE;
    ResetFixedMatrices();
    ResetFixedBatch();
    ResetFixedPrograms();
}

void FlushFixedGL() { FlushFixedBatch(); }

// Every change the pending batch must not see draws the batch first; a setting that does not change
// anything keeps the batch growing.
static bool Changes(bool* flag, bool on) {
    if (*flag == on) return false;
    FlushFixedBatch();
    *flag = on;
    ++Fixed.version;
    return true;
}

static bool* FixedCapability(GLenum capability) {
    FixedPipeline& f = Fixed;
    switch (capability) {
        case GL_TEXTURE_2D: return &f.texture2D;
        case GL_LIGHTING: return &f.lighting;
        case GL_LIGHT0: return &f.lights[0].enabled;
        case GL_LIGHT1: return &f.lights[1].enabled;
        case GL_COLOR_MATERIAL: return &f.colourMaterial;
        case GL_FOG: return &f.fog;
        case GL_TEXTURE_GEN_S: return &f.genS;
        case GL_TEXTURE_GEN_T: return &f.genT;
        case GL_LINE_SMOOTH: return &f.lineSmooth;
        default: return nullptr;
    }
}

static bool* PassedCapability(GLenum capability) {
    switch (capability) {
        case GL_BLEND: return &Blend;
        case GL_DEPTH_TEST: return &DepthTest;
        case GL_CULL_FACE: return &CullFace;
        case GL_SCISSOR_TEST: return &ScissorTest;
        default: return nullptr;
    }
}

// While colour material is on, the material's ambient and diffuse follow the current colour, and
// they keep the last one when it goes off.
static void TakeColourIntoMaterial() {
    memcpy(Fixed.materialAmbient, FixedCurrentColour(), sizeof(float) * 4);
    memcpy(Fixed.materialDiffuse, FixedCurrentColour(), sizeof(float) * 4);
}

static void SetCapability(GLenum capability, bool on) {
    if (bool* fixed = FixedCapability(capability)) {
        if (capability == GL_COLOR_MATERIAL && !on && Fixed.colourMaterial) TakeColourIntoMaterial();
        Changes(fixed, on);
    } else if (bool* passed = PassedCapability(capability)) {
        if (Changes(passed, on)) (on ? glEnable : glDisable)(capability);
    } else {
        FlushFixedBatch();
        (on ? glEnable : glDisable)(capability);
    }
}

void FixedEnable(GLenum capability) { SetCapability(capability, true); }
void FixedDisable(GLenum capability) { SetCapability(capability, false); }

GLboolean FixedIsEnabled(GLenum capability) {
    if (bool* fixed = FixedCapability(capability)) return *fixed;
    if (bool* passed = PassedCapability(capability)) return *passed;
    return glIsEnabled(capability);
}

// Perspective and point-smoothing hints have no ES counterpart; ES interpolates perspective-correct.
void FixedHint(GLenum target, GLenum mode) {
    if (target != GL_PERSPECTIVE_CORRECTION_HINT && target != GL_POINT_SMOOTH_HINT) glHint(target, mode);
}

// Only smooth shading is drawn: the show asks for nothing else.
void FixedShadeModel(GLenum) {}

void FixedPointSize(GLfloat size) {
    if (size <= 0 || size == Fixed.pointSize) return;
    FlushFixedBatch();
    Fixed.pointSize = size;
    ++Fixed.version;
}

// A uniform changes: the batch drawn so far keeps the old value.
static void SetUniform(float* to, const float* values, int count) {
    if (!memcmp(to, values, sizeof(float) * count)) return;
    FlushFixedBatch();
    memcpy(to, values, sizeof(float) * count);
    ++Fixed.version;
}

void FixedLightfv(GLenum light, GLenum name, const GLfloat* values) {
    if (light != GL_LIGHT0 && light != GL_LIGHT1) return;
    FixedLight& l = Fixed.lights[light - GL_LIGHT0];
    switch (name) {
        case GL_POSITION: {  // where it is now, in the eye's space
            float eye[4];
            TransformFixedPoint(FixedModelview(), values, eye);
            SetUniform(l.position, eye, 4);
            break;
        }
        case GL_AMBIENT: SetUniform(l.ambient, values, 4); break;
        case GL_DIFFUSE: SetUniform(l.diffuse, values, 4); break;
        case GL_SPECULAR: SetUniform(l.specular, values, 4); break;
        default: break;
    }
}

// Two-sided lighting is off, so back faces are lit with the front material: GL_BACK alone changes
// nothing that is drawn.
void FixedMaterialfv(GLenum face, GLenum name, const GLfloat* values) {
    if (face == GL_BACK) return;
    FixedPipeline& f = Fixed;
    switch (name) {
        case GL_AMBIENT: SetUniform(f.materialAmbient, values, 4); break;
        case GL_DIFFUSE: SetUniform(f.materialDiffuse, values, 4); break;
        case GL_AMBIENT_AND_DIFFUSE:
            SetUniform(f.materialAmbient, values, 4);
            SetUniform(f.materialDiffuse, values, 4);
            break;
        case GL_SPECULAR: SetUniform(f.materialSpecular, values, 4); break;
        case GL_EMISSION: SetUniform(f.materialEmission, values, 4); break;
        case GL_SHININESS: SetUniform(&f.shininess, values, 1); break;
        default: break;
    }
}

void FixedMaterialf(GLenum face, GLenum name, GLfloat value) { FixedMaterialfv(face, name, &value); }

void FixedFogfv(GLenum name, const GLfloat* values) {
    FixedPipeline& f = Fixed;
    switch (name) {
        case GL_FOG_COLOR: SetUniform(f.fogColour, values, 4); break;
        case GL_FOG_DENSITY: SetUniform(&f.fogDensity, values, 1); break;
        case GL_FOG_START: SetUniform(&f.fogStart, values, 1); break;
        case GL_FOG_END: SetUniform(&f.fogEnd, values, 1); break;
        case GL_FOG_MODE: {
            const GLenum mode = (GLenum)values[0];
            if (mode == f.fogMode || (mode != GL_LINEAR && mode != GL_EXP && mode != GL_EXP2)) break;
            FlushFixedBatch();
            f.fogMode = mode;
            ++f.version;
            break;
        }
        default: break;
    }
}

void FixedFogf(GLenum name, GLfloat value) { FixedFogfv(name, &value); }
void FixedFogi(GLenum name, GLint value) { FixedFogf(name, (float)value); }

void FixedTexGeni(GLenum coordinate, GLenum name, GLint value) {
    if (name != GL_TEXTURE_GEN_MODE || (coordinate != GL_S && coordinate != GL_T)) return;
    GLenum& mode = coordinate == GL_S ? Fixed.genModeS : Fixed.genModeT;
    if (mode == (GLenum)value) return;
    FlushFixedBatch();
    mode = (GLenum)value;
    ++Fixed.version;
}

static FixedTextureRecord& Record(GLuint name) {
    if (name >= Textures.size()) Textures.resize(name + 1, FixedTextureRecord{});
    return Textures[name];
}

bool FixedTextureComplete() {
    const FixedTextureRecord& t = Record(Fixed.boundTexture);  // minFilter 0: GL's mipmapped default
    if (!t.defined) return false;
    if (t.minFilter == GL_NEAREST || t.minFilter == GL_LINEAR) return true;
    int levels = 1;
    for (int side = t.width > t.height ? t.width : t.height; side > 1; side /= 2) ++levels;
    return t.levels >= levels;
}

void FixedBindTexture(GLenum target, GLuint texture) {
    if (target == GL_TEXTURE_2D && texture == Fixed.boundTexture) return;
    FlushFixedBatch();
    if (target == GL_TEXTURE_2D) Fixed.boundTexture = texture;
    glBindTexture(target, texture);
}

void FixedDeleteTextures(GLsizei count, const GLuint* textures) {
    FlushFixedBatch();
    for (GLsizei i = 0; i < count; ++i) {
        Record(textures[i]) = FixedTextureRecord{};
        if (textures[i] == Fixed.boundTexture) Fixed.boundTexture = 0;
    }
    glDeleteTextures(count, textures);
}

void FixedTexParameteri(GLenum target, GLenum name, GLint value) {
    FlushFixedBatch();
    if (target == GL_TEXTURE_2D && name == GL_TEXTURE_MIN_FILTER) Record(Fixed.boundTexture).minFilter = (GLenum)value;
    glTexParameteri(target, name, value);
}

void FixedTexParameterf(GLenum target, GLenum name, GLfloat value) { FixedTexParameteri(target, name, (GLint)value); }

void FixedTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                     GLenum format, GLenum type, const void* pixels) {
    FlushFixedBatch();
    FixedTextureRecord& t = Record(Fixed.boundTexture);
    if (level == 0) {
        t.defined = width > 0 && height > 0;
        t.width = width, t.height = height, t.levels = 1;
    } else if (level == t.levels) {
        ++t.levels;
    }
    // OpenGL 1.1 names an internal format by its component count; ES by the format itself.
    if (internalFormat == 3) internalFormat = GL_RGB;
    if (internalFormat == 4) internalFormat = GL_RGBA;
    glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

void FixedTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void* pixels) {
    FlushFixedBatch();
    glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
}

void FixedPixelStorei(GLenum name, GLint value) {
    if (name == GL_UNPACK_ALIGNMENT) UnpackAlignment = value;
    if (name == GL_PACK_ALIGNMENT) PackAlignment = value;
    glPixelStorei(name, value);
}

void FixedBlendFunc(GLenum source, GLenum destination) {
    if (source == BlendSource && destination == BlendDestination) return;
    FlushFixedBatch();
    BlendSource = source, BlendDestination = destination;
    glBlendFunc(source, destination);
}

void FixedDepthFunc(GLenum function) {
    if (function == DepthFunction) return;
    FlushFixedBatch();
    DepthFunction = function;
    glDepthFunc(function);
}

void FixedDepthMask(GLboolean flag) {
    if (flag == DepthWrite) return;
    FlushFixedBatch();
    DepthWrite = flag;
    glDepthMask(flag);
}

void FixedViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    FlushFixedBatch();
    Fixed.viewport[0] = x, Fixed.viewport[1] = y, Fixed.viewport[2] = width, Fixed.viewport[3] = height;
    glViewport(x, y, width, height);
}

void FixedScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    FlushFixedBatch();
    glScissor(x, y, width, height);
}

void FixedClear(GLbitfield mask) {
    FlushFixedBatch();
    glClear(mask);
}

void FixedClearDepth(GLclampd depth) { glClearDepthf((float)depth); }

void FixedFinish() {
    FlushFixedBatch();
    glFinish();
}

// ES reads RGBA bytes for certain, RGB (what the toolbox and the dialogs read) not: those are read
// as RGBA and packed as asked, rows padded to the pack alignment.
void FixedReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels) {
    FlushFixedBatch();
    if (format != GL_RGB || type != GL_UNSIGNED_BYTE || width <= 0 || height <= 0)
        return glReadPixels(x, y, width, height, format, type, pixels);
    const int channels = 3;
    static std::vector<unsigned char> rgba;
    rgba.resize((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPixelStorei(GL_PACK_ALIGNMENT, PackAlignment);
    const size_t stride = ((size_t)width * channels + PackAlignment - 1) / PackAlignment * PackAlignment;
    for (GLsizei row = 0; row < height; ++row) {
        unsigned char* to = (unsigned char*)pixels + row * stride;
        const unsigned char* from = &rgba[(size_t)row * width * 4];
        for (GLsizei i = 0; i < width; ++i)
            for (int c = 0; c < channels; ++c) to[i * channels + c] = from[i * 4 + c];
    }
}

void FixedGetIntegerv(GLenum name, GLint* values) {
    if (name == GL_UNPACK_ALIGNMENT)
        *values = UnpackAlignment;
    else if (name == GL_PACK_ALIGNMENT)
        *values = PackAlignment;
    else
        glGetIntegerv(name, values);
}

// The framebuffer routines the off-screen picture looks up: binds and blits draw the pending batch
// into the framebuffer it was meant for first; the others are ES's own, linked directly.
static void BindFramebufferAfterBatch(GLenum target, GLuint framebuffer) {
    FlushFixedBatch();
    glBindFramebuffer(target, framebuffer);
}

static void BlitFramebufferAfterBatch(GLint x0, GLint y0, GLint x1, GLint y1, GLint toX0, GLint toY0, GLint toX1,
                                      GLint toY1, GLbitfield mask, GLenum filter) {
    FlushFixedBatch();
    glBlitFramebuffer(x0, y0, x1, y1, toX0, toY0, toX1, toY1, mask, filter);
}

void* FixedEntryPoint(const char* name) {
    static const struct {
        const char* name;
        void* entry;
    } kEntries[] = {
        {"glBindFramebuffer", (void*)BindFramebufferAfterBatch},
        {"glBlitFramebuffer", (void*)BlitFramebufferAfterBatch},
        {"glGenFramebuffers", (void*)glGenFramebuffers},
        {"glGenRenderbuffers", (void*)glGenRenderbuffers},
        {"glBindRenderbuffer", (void*)glBindRenderbuffer},
        {"glRenderbufferStorage", (void*)glRenderbufferStorage},
        {"glFramebufferRenderbuffer", (void*)glFramebufferRenderbuffer},
        {"glCheckFramebufferStatus", (void*)glCheckFramebufferStatus},
    };
    for (const auto& e : kEntries)
        if (!strcmp(e.name, name)) return e.entry;
    return nullptr;
}
