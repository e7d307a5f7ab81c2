#include "fixed/fixed_batch.h"

#include "fixed/fixed_matrix.h"
#include "fixed/fixed_program.h"
#include "fixed/fixed_raster.h"
#include "fixed/fixed_state.h"

#include <cstddef>
#include <cstring>

// Large enough for the biggest mesh in one draw (1500 faces).
enum { kBatchCapacity = 6144 };

static BatchVertex Vertices[kBatchCapacity];
static int Count = 0;
static GLenum BatchMode = GL_TRIANGLES;  // the primitive kind of the pending vertices
static bool BatchSmooth = false;         // they are smooth lines, drawn as triangles
// GL_POINTS is 0, so "no glBegin open" needs a value of its own.
enum : GLenum { kNoPrimitive = 0xFFFFFFFFu };
static GLenum BeganMode = kNoPrimitive;  // inside glBegin/glEnd: its mode
static int BeganAt = 0;                  // the first vertex of the open primitive list

static float Colour[4] = {1, 1, 1, 1};
static float Normal[3] = {0, 0, 1};
static float TexCoord[2] = {0, 0};
static float EyeNormal[3] = {0, 0, 1};
static bool EyeNormalStale = true;
static unsigned EyeNormalVersion = 0;  // the modelview version EyeNormal was made with

static GLuint VertexArray = 0, Buffer = 0;

const float* FixedCurrentColour() { return Colour; }

void ResetFixedBatch() {
    Count = 0;
    BeganMode = kNoPrimitive;
    const float white[4] = {1, 1, 1, 1};
    memcpy(Colour, white, sizeof Colour);
    Normal[0] = Normal[1] = 0, Normal[2] = 1;
    TexCoord[0] = TexCoord[1] = 0;
    EyeNormalStale = true;
    VertexArray = Buffer = 0;
}

static void PrepareBuffers() {
    glGenVertexArrays(1, &VertexArray);
    glGenBuffers(1, &Buffer);
    glBindVertexArray(VertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, Buffer);
    const GLsizei stride = sizeof(BatchVertex);
    glVertexAttribPointer(kAttribClip, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(BatchVertex, clip));
    glVertexAttribPointer(kAttribEye, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(BatchVertex, eye));
    glVertexAttribPointer(kAttribNormal, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(BatchVertex, normal));
    glVertexAttribPointer(kAttribColour, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(BatchVertex, colour));
    glVertexAttribPointer(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(BatchVertex, texCoord));
    glVertexAttribPointer(kAttribCoverage, 4, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(BatchVertex, coverage));
    for (int a = kAttribClip; a <= kAttribCoverage; ++a) glEnableVertexAttribArray(a);
}

static int WholePrimitives(GLenum mode, int n);

// Draws the complete primitives gathered so far; the rest of a glBegin still open moves to the
// front of the buffer.
static void DrawBatch() {
    int drawn = Count;
    if (BeganMode != kNoPrimitive)
        drawn = BatchSmooth ? BeganAt : BeganAt + WholePrimitives(BeganMode, Count - BeganAt);
    if (drawn > 0 && UseFixedProgram(BatchSmooth ? kSmoothLines : BatchMode)) {
        if (!VertexArray) PrepareBuffers();
        glBindVertexArray(VertexArray);
        glBindBuffer(GL_ARRAY_BUFFER, Buffer);
        glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)(drawn * sizeof(BatchVertex)), Vertices, GL_STREAM_DRAW);
        // A smooth line's quad faces either way; GL never culls lines.
        const bool unculled = BatchSmooth && FixedIsEnabled(GL_CULL_FACE);
        if (unculled) glDisable(GL_CULL_FACE);
        glDrawArrays(BatchMode, 0, drawn);
        if (unculled) glEnable(GL_CULL_FACE);
    }
    memmove(Vertices, Vertices + drawn, (size_t)(Count - drawn) * sizeof(BatchVertex));
    Count -= drawn;
    BeganAt = 0;
}

void FlushFixedBatch() {
    if (Count > 0) DrawBatch();
}

void FixedBegin(GLenum mode) {
    if (BeganMode != kNoPrimitive) return;  // a glBegin inside glBegin is an error in GL: ignored
    const bool smooth = mode == GL_LINES && Fixed.lineSmooth;
    if (Count > 0 && ((smooth ? GL_TRIANGLES : mode) != BatchMode || smooth != BatchSmooth)) DrawBatch();
    BatchMode = smooth ? GL_TRIANGLES : mode;
    BatchSmooth = smooth;
    BeganMode = mode;
    BeganAt = Count;
}

// A list that leaves a primitive incomplete drops the rest, as GL does.
static int WholePrimitives(GLenum mode, int n) {
    switch (mode) {
        case GL_TRIANGLES: return n - n % 3;
        case GL_LINES: return n - n % 2;
        case GL_POINTS: return n;
        default: return 0;  // strips, fans and quads are not drawn by the layer
    }
}

// The line list just ended becomes the quads of smooth lines.
static void ExpandLines() {
    static BatchVertex ends[kBatchCapacity];
    const int n = WholePrimitives(GL_LINES, Count - BeganAt);
    memcpy(ends, Vertices + BeganAt, sizeof(BatchVertex) * n);
    Count = BeganAt;
    BeganMode = kNoPrimitive;
    for (int i = 0; i < n; i += 2) {
        if (Count + 6 > kBatchCapacity) DrawBatch();
        Count += ExpandSmoothLine(ends[i], ends[i + 1], Fixed.viewport, Vertices + Count);
    }
}

void FixedEnd() {
    if (BeganMode == kNoPrimitive) return;
    if (BatchSmooth) {
        ExpandLines();
    } else {
        Count = BeganAt + WholePrimitives(BeganMode, Count - BeganAt);
        if (BeganMode == GL_POINTS)
            for (int i = BeganAt; i < Count; ++i) SnapPoint(&Vertices[i], Fixed.viewport, Fixed.pointSize);
    }
    BeganMode = kNoPrimitive;
}

static void UpdateEyeNormal() {
    const unsigned version = FixedModelviewVersion();
    if (!EyeNormalStale && EyeNormalVersion == version) return;
    const float* n = FixedNormalMatrix();
    for (int r = 0; r < 3; ++r)
        EyeNormal[r] = n[r * 3] * Normal[0] + n[r * 3 + 1] * Normal[1] + n[r * 3 + 2] * Normal[2];
    EyeNormalVersion = version;
    EyeNormalStale = false;
}

void FixedVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (BeganMode == kNoPrimitive) return;
    // A full buffer draws what is complete; a primitive list longer than the buffer is cut.
    if (Count == kBatchCapacity) DrawBatch();
    if (Count == kBatchCapacity) return;
    BatchVertex& v = Vertices[Count++];
    const float* m = FixedModelview().m;
    const float* p = FixedModelviewProjection().m;
    for (int r = 0; r < 3; ++r) v.eye[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
    for (int r = 0; r < 4; ++r) v.clip[r] = p[r] * x + p[4 + r] * y + p[8 + r] * z + p[12 + r];
    UpdateEyeNormal();
    memcpy(v.normal, EyeNormal, sizeof v.normal);
    memcpy(v.colour, Colour, sizeof v.colour);
    memcpy(v.texCoord, TexCoord, sizeof v.texCoord);
}

void FixedNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    if (Normal[0] == x && Normal[1] == y && Normal[2] == z) return;
    Normal[0] = x, Normal[1] = y, Normal[2] = z;
    EyeNormalStale = true;
}

void FixedTexCoord2f(GLfloat s, GLfloat t) { TexCoord[0] = s, TexCoord[1] = t; }

void FixedColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    Colour[0] = r, Colour[1] = g, Colour[2] = b, Colour[3] = a;
}
void FixedColor3f(GLfloat r, GLfloat g, GLfloat b) { FixedColor4f(r, g, b, 1); }
