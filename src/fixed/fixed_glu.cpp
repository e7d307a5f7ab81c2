#include "fixed/fixed_glu.h"

#include "fixed/fixed_batch.h"
#include "fixed/fixed_matrix.h"

#include <algorithm>
#include <cmath>
#include <vector>

void FixedPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * M_PI / 180, depth = zFar - zNear, sine = sin(radians);
    if (depth == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = cos(radians) / sine;
    const float x = (float)(cotangent / aspect), y = (float)cotangent;
    const float z = (float)(-(zFar + zNear) / depth), w = (float)(-2 * zNear * zFar / depth);
    const float m[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, -1, 0, 0, w, 0};
    FixedMultMatrixf(m);
}

static void Normalize(float v[3]) {
    const float length = sqrtf(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0) return;
    v[0] /= length, v[1] /= length, v[2] /= length;
}

static void Cross(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// The eye at `eye` looking at `centre`, `up` tilted into the plane of sight.
void FixedLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY, GLdouble centreZ,
                 GLdouble upX, GLdouble upY, GLdouble upZ) {
    float forward[3] = {(float)(centreX - eyeX), (float)(centreY - eyeY), (float)(centreZ - eyeZ)};
    float up[3] = {(float)upX, (float)upY, (float)upZ}, side[3];
    Normalize(forward);
    Cross(forward, up, side);
    Normalize(side);
    Cross(side, forward, up);
    // clang-format off
    const float m[16] = {side[0], up[0], -forward[0], 0,
                         side[1], up[1], -forward[1], 0,
                         side[2], up[2], -forward[2], 0,
                         0,       0,     0,           1};
    // clang-format on
    FixedMultMatrixf(m);
    FixedTranslatef((float)-eyeX, (float)-eyeY, (float)-eyeZ);
}

// GLU's size for a side that is not a power of two: the nearer power, rounding at 1.5 times.
static int NearestPower(int side) {
    int power = 1;
    while (side > 1 && side != 3) side >>= 1, power *= 2;
    return side == 3 ? power * 4 : power;
}

struct Picture {
    int width, height, channels;
    std::vector<unsigned char> pixels;  // rows packed tightly
};

// Every target pixel is the average of the source area it covers.
static Picture Resample(const Picture& from, int width, int height) {
    Picture to = {width, height, from.channels, std::vector<unsigned char>((size_t)width * height * from.channels)};
    const double sx = (double)from.width / width, sy = (double)from.height / height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < from.channels; ++c) {
                double sum = 0, area = 0;
                for (int v = (int)(y * sy); v < from.height && v < (y + 1) * sy; ++v)
                    for (int u = (int)(x * sx); u < from.width && u < (x + 1) * sx; ++u) {
                        const double w = (fmin(u + 1, (x + 1) * sx) - fmax(u, x * sx)) *
                                         (fmin(v + 1, (y + 1) * sy) - fmax(v, y * sy));
                        sum += w * from.pixels[((size_t)v * from.width + u) * from.channels + c];
                        area += w;
                    }
                to.pixels[((size_t)y * width + x) * from.channels + c] = (unsigned char)(sum / area + 0.5);
            }
    return to;
}

// The next smaller level: 2x2 blocks averaged with rounding, pairs where one side is already 1.
static Picture Halve(const Picture& from) {
    const int width = from.width > 1 ? from.width / 2 : 1, height = from.height > 1 ? from.height / 2 : 1;
    const int ch = from.channels, dx = from.width > 1 ? ch : 0, dy = from.height > 1 ? from.width * ch : 0;
    Picture to = {width, height, ch, std::vector<unsigned char>((size_t)width * height * ch)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < ch; ++c) {
                const unsigned char* s =
                    &from.pixels[((size_t)(y * (dy ? 2 : 1)) * from.width + x * (dx ? 2 : 1)) * ch + c];
                unsigned char* d = &to.pixels[((size_t)y * width + x) * ch + c];
                if (dx && dy)
                    *d = (unsigned char)((s[0] + s[dx] + s[dy] + s[dx + dy] + 2) / 4);
                else
                    *d = (unsigned char)((s[0] + s[dx + dy]) / 2);
            }
    return to;
}

GLint FixedBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format, GLenum type,
                          const void* pixels) {
    const int channels = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 0;
    if (channels == 0 || type != GL_UNSIGNED_BYTE) return 100900;  // GLU_INVALID_ENUM
    if (width < 1 || height < 1) return 100901;                    // GLU_INVALID_VALUE
    GLint alignment = 4, most = 2048;
    FixedGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    Picture level = {width, height, channels, std::vector<unsigned char>((size_t)width * height * channels)};
    const size_t row = (size_t)width * channels, stride = (row + alignment - 1) / alignment * alignment;
    for (int y = 0; y < height; ++y)
        std::copy_n((const unsigned char*)pixels + y * stride, row, &level.pixels[y * row]);
    int w = NearestPower(width), h = NearestPower(height);
    while (w > most || h > most) w = w > 1 ? w / 2 : 1, h = h > 1 ? h / 2 : 1;
    if (w != width || h != height) level = Resample(level, w, h);
    const GLenum internal = components == 4 || components == GL_RGBA ? GL_RGBA : GL_RGB;
    FixedPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int l = 0;; ++l) {
        FixedTexImage2D(target, l, internal, level.width, level.height, 0, format, type, level.pixels.data());
        if (level.width == 1 && level.height == 1) break;
        level = Halve(level);
    }
    FixedPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    return 0;
}

struct FixedQuadric {
    GLenum normals;
    bool texture;
};

GLUquadric* FixedNewQuadric() { return new FixedQuadric{GLU_SMOOTH, false}; }
void FixedDeleteQuadric(GLUquadric* quadric) { delete quadric; }
void FixedQuadricNormals(GLUquadric* quadric, GLenum normals) { quadric->normals = normals; }
void FixedQuadricTexture(GLUquadric* quadric, GLboolean texture) { quadric->texture = texture; }

// One corner of the sphere: slice i around the z axis, stack j from the +z pole down.
static void SphereCorner(const GLUquadric* q, double radius, int i, int j, int slices, int stacks) {
    const double around = 2 * M_PI * (i % slices) / slices, down = M_PI * j / stacks;
    const float sa = (float)sin(around), ca = (float)cos(around);
    const float sd = j == 0 || j == stacks ? 0 : (float)sin(down), cd = (float)cos(down);
    if (q->normals != GLU_NONE) FixedNormal3f(sa * sd, ca * sd, cd);
    if (q->texture) FixedTexCoord2f(1 - (float)i / slices, 1 - (float)j / stacks);
    FixedVertex3f((float)radius * sd * sa, (float)radius * sd * ca, (float)(radius * cos(down)));
}

// A band of quads a stack, from the +z pole down, each quad split along the same diagonal as GL
// splits a quad strip.
void FixedSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks) {
    if (!quadric || slices < 2 || stacks < 1 || radius < 0) return;
    FixedBegin(GL_TRIANGLES);
    for (int j = 0; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const int corners[6][2] = {{i + 1, j + 1}, {i, j + 1}, {i + 1, j}, {i, j + 1}, {i, j}, {i + 1, j}};
            for (const auto& c : corners) SphereCorner(quadric, radius, c[0], c[1], slices, stacks);
        }
    FixedEnd();
}
