#include "gfx/offscreen.h"

#include "gfx/gl.h"
#include "platform/gl_entry.h"

#include <cstdlib>
#include <cstring>

// Token values are the same for the ARB and EXT forms.
enum : GLenum {
    kFramebuffer = 0x8D40,
    kReadFramebuffer = 0x8CA8,
    kDrawFramebuffer = 0x8CA9,
    kRenderbuffer = 0x8D41,
    kColourAttachment = 0x8CE0,
    kDepthAttachment = 0x8D00,
    kFramebufferComplete = 0x8CD5,
    kDepth24 = 0x81A6,
};

struct FramebufferCalls {
    void (*genFramebuffers)(GLsizei, GLuint*);
    void (*bindFramebuffer)(GLenum, GLuint);
    void (*genRenderbuffers)(GLsizei, GLuint*);
    void (*bindRenderbuffer)(GLenum, GLuint);
    void (*renderbufferStorage)(GLenum, GLenum, GLsizei, GLsizei);
    void (*framebufferRenderbuffer)(GLenum, GLenum, GLenum, GLuint);
    GLenum (*checkFramebufferStatus)(GLenum);
    void (*blitFramebuffer)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum);
};

static FramebufferCalls Calls;
static bool Looked = false, Available = false, Refused = false;
static GLuint Framebuffer = 0, Renderbuffers[2] = {0, 0};
static int Width = 0, Height = 0;

void SetOffscreenRefused(bool refused) { Refused = refused; }

static bool HasExtension(const char* name) {
    const char* list = (const char*)glGetString(GL_EXTENSIONS);
    if (!list) return false;
    const size_t length = strlen(name);
    for (const char* at = strstr(list, name); at; at = strstr(at + 1, name))
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == 0)) return true;
    return false;
}

// Framebuffer objects are core from OpenGL 3.0 and OpenGL ES 3.0 on ("3.0 Mesa ...", "OpenGL ES 3.0
// Mesa ...", "OpenGL ES 3.0 (WebGL 2.0)"), under their plain names.
static bool CoreFramebuffers() {
    const char* version = (const char*)glGetString(GL_VERSION);
    if (!version) return false;
    if (!strncmp(version, "OpenGL ES ", 10)) version += 10;
    return atoi(version) >= 3;
}

template <typename F> static bool Find(F* call, const char* name, const char* suffix) {
    char full[64];
    strcpy(full, name);
    strcat(full, suffix);
    *call = (F)LookUpGLEntryPoint(full);
    return *call != nullptr;
}

static bool LookUpCalls(const char* s) {
    FramebufferCalls& c = Calls;
    return Find(&c.genFramebuffers, "glGenFramebuffers", s) && Find(&c.bindFramebuffer, "glBindFramebuffer", s) &&
           Find(&c.genRenderbuffers, "glGenRenderbuffers", s) && Find(&c.bindRenderbuffer, "glBindRenderbuffer", s) &&
           Find(&c.renderbufferStorage, "glRenderbufferStorage", s) &&
           Find(&c.framebufferRenderbuffer, "glFramebufferRenderbuffer", s) &&
           Find(&c.checkFramebufferStatus, "glCheckFramebufferStatus", s) &&
           Find(&c.blitFramebuffer, "glBlitFramebuffer", s);
}

bool OffscreenAvailable() {
    if (Refused) return false;
    if (!Looked) {
        Looked = true;
        if (CoreFramebuffers() || HasExtension("GL_ARB_framebuffer_object")) Available = LookUpCalls("");
        if (!Available && HasExtension("GL_EXT_framebuffer_object") && HasExtension("GL_EXT_framebuffer_blit"))
            Available = LookUpCalls("EXT");
    }
    return Available;
}

bool PrepareOffscreen(int width, int height) {
    if (!OffscreenAvailable()) return false;
    if (Framebuffer && width == Width && height == Height) return true;
    if (!Framebuffer) {
        Calls.genFramebuffers(1, &Framebuffer);
        Calls.genRenderbuffers(2, Renderbuffers);
    }
    Calls.bindFramebuffer(kFramebuffer, Framebuffer);
    Calls.bindRenderbuffer(kRenderbuffer, Renderbuffers[0]);
    Calls.renderbufferStorage(kRenderbuffer, GL_RGBA8, width, height);
    Calls.framebufferRenderbuffer(kFramebuffer, kColourAttachment, kRenderbuffer, Renderbuffers[0]);
    Calls.bindRenderbuffer(kRenderbuffer, Renderbuffers[1]);
    Calls.renderbufferStorage(kRenderbuffer, kDepth24, width, height);
    Calls.framebufferRenderbuffer(kFramebuffer, kDepthAttachment, kRenderbuffer, Renderbuffers[1]);
    Calls.bindRenderbuffer(kRenderbuffer, 0);
    const bool complete = Calls.checkFramebufferStatus(kFramebuffer) == kFramebufferComplete;
    if (complete) {  // a switch mid-frame (F11 while loading) must not show undefined pixels
        glDisable(GL_SCISSOR_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    Calls.bindFramebuffer(kFramebuffer, 0);
    Width = complete ? width : 0;
    Height = complete ? height : 0;
    return complete;
}

void BindOffscreen(bool on) {
    if (Available && Framebuffer) Calls.bindFramebuffer(kFramebuffer, on ? Framebuffer : 0);
}

void BlitOffscreen(int x, int y, int width, int height) {
    if (!Available || !Framebuffer) return;
    Calls.bindFramebuffer(kReadFramebuffer, Framebuffer);
    Calls.bindFramebuffer(kDrawFramebuffer, 0);
    glDisable(GL_SCISSOR_TEST);  // the blit obeys the scissor
    Calls.blitFramebuffer(0, 0, Width, Height, x, y, x + width, y + height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    Calls.bindFramebuffer(kFramebuffer, 0);
}

void ForgetOffscreen() {
    Looked = Available = false;
    Framebuffer = Renderbuffers[0] = Renderbuffers[1] = 0;
    Width = Height = 0;
}
