#include "fixed/fixed_matrix.h"

#include <cmath>
#include <cstring>

// OpenGL 1.1's least depths (the projection's is 2); a push beyond them is ignored, as GL ignores
// it with an error.
enum { kModelviewDepth = 32, kProjectionDepth = 4 };

static FixedMatrix Modelview[kModelviewDepth], Projection[kProjectionDepth];
static int ModelviewTop = 0, ProjectionTop = 0;
static bool EditingProjection = false;
static unsigned ModelviewVersion = 1, NormalVersion = 0, ProjectionVersion = 1;
static unsigned ProductVersions[2] = {0, 0};  // the modelview and projection the product was made from
static float NormalMatrix[9];
static FixedMatrix Product;

static const FixedMatrix kIdentity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

static FixedMatrix& Current() { return EditingProjection ? Projection[ProjectionTop] : Modelview[ModelviewTop]; }

// Both matrices are applied to each vertex as it is given, so no change draws the pending batch.
static void WillChange() {
    if (EditingProjection)
        ++ProjectionVersion;
    else
        ++ModelviewVersion;
}

void ResetFixedMatrices() {
    Modelview[0] = Projection[0] = kIdentity;
    ModelviewTop = ProjectionTop = 0;
    EditingProjection = false;
    ++ModelviewVersion;
    ++ProjectionVersion;
}

const FixedMatrix& FixedModelview() { return Modelview[ModelviewTop]; }
const FixedMatrix& FixedProjection() { return Projection[ProjectionTop]; }
unsigned FixedModelviewVersion() { return ModelviewVersion; }

void FixedMatrixMode(GLenum mode) { EditingProjection = mode == GL_PROJECTION; }

void FixedLoadIdentity() {
    WillChange();
    Current() = kIdentity;
}

// a * b, each element summed in the order a row's terms come: the same roundings as the GL
// library's own product, so that two surfaces it draws in one plane stay in one plane here.
static FixedMatrix Multiply(const float* a, const float* b) {
    FixedMatrix r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row)
            r.m[col * 4 + row] = a[row] * b[col * 4] + a[4 + row] * b[col * 4 + 1] + a[8 + row] * b[col * 4 + 2] +
                                 a[12 + row] * b[col * 4 + 3];
    return r;
}

// current = current * m, as glMultMatrix.
void FixedMultMatrixf(const GLfloat* m) {
    WillChange();
    Current() = Multiply(Current().m, m);
}

const FixedMatrix& FixedModelviewProjection() {
    if (ProductVersions[0] != ModelviewVersion || ProductVersions[1] != ProjectionVersion) {
        Product = Multiply(Projection[ProjectionTop].m, Modelview[ModelviewTop].m);
        ProductVersions[0] = ModelviewVersion, ProductVersions[1] = ProjectionVersion;
    }
    return Product;
}

void FixedPushMatrix() {
    if (EditingProjection) {
        if (ProjectionTop + 1 < kProjectionDepth)
            Projection[ProjectionTop + 1] = Projection[ProjectionTop], ++ProjectionTop;
    } else if (ModelviewTop + 1 < kModelviewDepth) {
        Modelview[ModelviewTop + 1] = Modelview[ModelviewTop];
        ++ModelviewTop;
    }
}

void FixedPopMatrix() {
    if (EditingProjection ? ProjectionTop == 0 : ModelviewTop == 0) return;
    WillChange();
    if (EditingProjection)
        --ProjectionTop;
    else
        --ModelviewTop;
}

void FixedTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    const float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    FixedMultMatrixf(m);
}

void FixedScalef(GLfloat x, GLfloat y, GLfloat z) {
    const float m[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    FixedMultMatrixf(m);
}

// The rotation of glRotate: `angle` degrees about (x, y, z), counter-clockwise seen from its tip.
void FixedRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    const float length = sqrtf(x * x + y * y + z * z);
    if (length == 0) return;
    x /= length, y /= length, z /= length;
    const float radians = angle * (float)(M_PI / 180.0);
    const float s = sinf(radians), c = cosf(radians), t = 1 - c;
    // clang-format off
    const float m[16] = {x * x * t + c,     y * x * t + z * s, z * x * t - y * s, 0,
                         x * y * t - z * s, y * y * t + c,     z * y * t + x * s, 0,
                         x * z * t + y * s, y * z * t - x * s, z * z * t + c,     0,
                         0,                 0,                 0,                 1};
    // clang-format on
    FixedMultMatrixf(m);
}

void TransformFixedPoint(const FixedMatrix& m, const float in[4], float out[4]) {
    for (int row = 0; row < 4; ++row)
        out[row] = m.m[row] * in[0] + m.m[4 + row] * in[1] + m.m[8 + row] * in[2] + m.m[12 + row] * in[3];
}

// Normals go by the inverse transpose of the modelview's upper 3x3: the cofactor matrix over the
// determinant. A singular modelview (a scale by 0) leaves normals as they are.
const float* FixedNormalMatrix() {
    if (NormalVersion == ModelviewVersion) return NormalMatrix;
    NormalVersion = ModelviewVersion;
    const float* m = Modelview[ModelviewTop].m;
    // a[r][c] of the upper 3x3, column-major in m.
    auto a = [m](int r, int c) { return m[c * 4 + r]; };
    float cof[9];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cof[r * 3 + c] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
        }
    const float det = a(0, 0) * cof[0] + a(0, 1) * cof[1] + a(0, 2) * cof[2];
    for (int i = 0; i < 9; ++i) NormalMatrix[i] = det != 0 ? cof[i] / det : (i % 4 == 0);
    return NormalMatrix;
}
