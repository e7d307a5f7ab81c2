#include "gl_probe.h"

#include <GL/gl.h>

static const int kFloatsPerVertex = 11;  // GL_3D_COLOR_TEXTURE in RGBA mode

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw) {
    static std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer((GLsizei)buffer.size(), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackPrimitive> primitives;
    auto takeVertices = [&](GLint& at, int count, FeedbackPrimitive* into) {
        for (int v = 0; v < count && at + kFloatsPerVertex <= used; ++v, at += kFloatsPerVertex) {
            const GLfloat* f = &buffer[at];
            into->vertices.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]});
        }
    };
    for (GLint at = 0; at < used;) {
        FeedbackPrimitive primitive{(int)buffer[at++], {}};
        switch (primitive.token) {
        case GL_POLYGON_TOKEN: {
            int count = (int)buffer[at++];
            takeVertices(at, count, &primitive);
            break;
        }
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN: takeVertices(at, 2, &primitive); break;
        case GL_PASS_THROUGH_TOKEN: ++at; break;
        default: takeVertices(at, 1, &primitive); break;  // points and pixel tokens
        }
        primitives.push_back(primitive);
    }
    return primitives;
}

void ResetTestGLState() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLenum caps[] = {GL_LIGHTING, GL_FOG, GL_BLEND, GL_CULL_FACE, GL_TEXTURE_2D, GL_TEXTURE_GEN_S,
                           GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_DEPTH_TEST, GL_LINE_SMOOTH};
    for (GLenum cap : caps) glDisable(cap);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
}

std::vector<float> ReadModelview() {
    std::vector<float> m(16);
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

unsigned MakeSolidTexture(int size, unsigned char r, unsigned char g, unsigned char b) {
    std::vector<unsigned char> pixels((size_t)size * size * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = r;
        pixels[i + 1] = g;
        pixels[i + 2] = b;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return name;
}
