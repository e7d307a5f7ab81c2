// What the show draws with, as OpenGL 1.1 draws it. The same cases run in the OpenGL 1.1 build and
// in the ES build, where they check the fixed-function layer against GL's own rules: each is a rule
// the frames of the show depend on in a corner too small for the frame comparison to see.
#include "gfx/gl.h"
#include "gl_context.h"

#include <gtest/gtest.h>

class FixedFunction : public ::testing::Test {
protected:
    void SetUp() override {
        if (!OpenTestGLContext(64, 64)) GTEST_SKIP() << "no display";
        glViewport(0, 0, 64, 64);
        glDisable(GL_SCISSOR_TEST);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // The red of the pixel at (x, y) once everything drawn so far has landed.
    int Red(int x, int y) {
        unsigned char rgba[4];
        glFinish();
        ReadTestPixel(x, y, rgba);
        return rgba[0];
    }
    static void Square(float r, float g, float b, float a) {
        glColor4f(r, g, b, a);
        glBegin(GL_TRIANGLES);
        glVertex3f(-1, -1, 0), glVertex3f(1, -1, 0), glVertex3f(1, 1, 0);
        glVertex3f(-1, -1, 0), glVertex3f(1, 1, 0), glVertex3f(-1, 1, 0);
        glEnd();
    }
};

// GL_POINTS is the enum 0, and points are drawn at the size set.
TEST_F(FixedFunction, PointsAreDrawnTwoPixelsWide) {
    glPointSize(2);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_POINTS);
    glVertex3f(1 / 64.0f, 1 / 64.0f, 0);  // the corner of pixels 32 and 33
    glEnd();
    EXPECT_EQ(Red(32, 32), 255);
    EXPECT_EQ(Red(33, 33), 255);
    EXPECT_EQ(Red(31, 31), 0);
    glPointSize(1);
}

// Texturing with no usable texture bound (name 0, or one without its mipmaps) leaves texturing off:
// the plain colour, not black.
TEST_F(FixedFunction, TexturingWithoutAUsableTextureDrawsThePlainColour) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    Square(1, 0, 0, 1);
    EXPECT_EQ(Red(10, 10), 255);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const unsigned char black[4 * 4 * 3] = {};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, black);  // level 0 alone
    glClear(GL_COLOR_BUFFER_BIT);
    Square(1, 0, 0, 1);
    EXPECT_EQ(Red(10, 10), 255);
    glDeleteTextures(1, &name);
    glDisable(GL_TEXTURE_2D);
}

// Colours are clamped before blending: an alpha ramp above 1 adds no more than 1, one below 0
// leaves the picture as it is.
TEST_F(FixedFunction, AlphaOutsideZeroToOneIsClamped) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    Square(0.25f, 0, 0, 3);
    EXPECT_NEAR(Red(10, 10), 64, 1);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Square(1, 0, 0, -2);
    EXPECT_NEAR(Red(10, 10), 64, 1);
    glDisable(GL_BLEND);
}

// A state change between draws applies to the later draw only, however the draws are gathered.
TEST_F(FixedFunction, AStateChangeSeparatesTheDrawsBeforeAndAfterIt) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 32, 64);
    Square(1, 0, 0, 1);
    glScissor(32, 0, 32, 64);
    Square(0.5f, 0, 0, 1);
    glDisable(GL_SCISSOR_TEST);
    EXPECT_EQ(Red(10, 10), 255);
    EXPECT_NEAR(Red(50, 10), 128, 1);
}

// A smooth line covers the pixels it crosses in part, through alpha.
TEST_F(FixedFunction, ASmoothLineFadesAtItsEdges) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_LINES);
    glVertex3f(-1, 0.25f / 32, 0), glVertex3f(1, 0.25f / 32, 0);  // a quarter pixel above row 32's centre
    glEnd();
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
    const int centre = Red(20, 32), below = Red(20, 31);
    EXPECT_GT(centre, 150);
    EXPECT_LT(centre, 255);
    EXPECT_GT(below, 30);
    EXPECT_LT(below, centre);
    EXPECT_EQ(Red(20, 33), 0);
}
