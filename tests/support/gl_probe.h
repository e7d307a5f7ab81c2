// Reading GL back in tests: feedback capture of what a routine draws, matrices, small textures.
#pragma once

#include <functional>
#include <vector>

struct FeedbackVertex {
    float x, y, z;        // window coordinates
    float r, g, b, a;     // colour after clamping
    float s, t, p, q;     // texture coordinates after generation
};

struct FeedbackPrimitive {
    int token;  // GL_POLYGON_TOKEN, GL_LINE_TOKEN, GL_LINE_RESET_TOKEN, GL_POINT_TOKEN, ...
    std::vector<FeedbackVertex> vertices;
};

// Runs `draw` in feedback mode (3D, colour and texture) and returns what reached the rasteriser.
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw);

// Both matrices back to identity, the usual capabilities off, colour white, buffers cleared.
void ResetTestGLState();

// The current modelview matrix, column-major.
std::vector<float> ReadModelview();

// A size x size texture of one RGB colour without mipmaps, left bound to GL_TEXTURE_2D.
unsigned MakeSolidTexture(int size, unsigned char r, unsigned char g, unsigned char b);
