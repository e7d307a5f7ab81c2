// TGA textures: decoding without GL, and the upload into a texture object.
#include "gfx/tga.h"

#include "gl_context.h"
#include "run_command.h"

#include <GL/gl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <vector>

// An uncompressed true-colour file: pixel i has B, G, R (, A) = i, i + 1, i + 2 (, 255 - i).
static std::string MakeTGA(int width, int height, int bits, uint8_t descriptor = 0) {
    std::string file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int value : {width & 255, width >> 8, height & 255, height >> 8, bits, (int)descriptor}) file += (char)value;
    for (int i = 0; i < width * height; ++i) {
        for (int c = 0; c < 3; ++c) file += (char)(i + c);
        if (bits == 32) file += (char)(255 - i);
    }
    return file;
}

static std::string SaveTGA(const std::string& name, const std::string& bytes) {
    static std::string folder = MakeTestFolder("tga");
    std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

struct Decoded {
    bool ok;
    std::string boxes;
};

static Decoded Decode(const std::string& name, const std::string& bytes, Texture* texture) {
    const std::string path = SaveTGA(name, bytes);
    testing::internal::CaptureStderr();
    bool ok = DecodeTGAFile(nullptr, texture, path.c_str());
    return {ok, testing::internal::GetCapturedStderr()};
}

static std::string Box(const std::string& name, const char* reason) {
    return "msgbox: TGA Loader: Error loading " + SaveTGA(name, "") + "\\n" + reason + "\n";
}

TEST(TGADecode, TwentyFourAndThirtyTwoBitPixelsTurnToRGBOrder) {
    Texture texture = {};
    ASSERT_TRUE(Decode("rgb.tga", MakeTGA(3, 2, 24), &texture).ok);
    EXPECT_EQ(texture.width, 3u);
    EXPECT_EQ(texture.height, 2u);
    EXPECT_EQ(texture.bitsPerPixel, 24u);
    const uint8_t rgb[] = {2, 1, 0, 3, 2, 1, 4, 3, 2, 5, 4, 3, 6, 5, 4, 7, 6, 5};
    EXPECT_EQ(std::vector<uint8_t>(texture.data, texture.data + 18), std::vector<uint8_t>(rgb, rgb + 18));
    FreeTexturePixels(&texture);

    ASSERT_TRUE(Decode("rgba.tga", MakeTGA(2, 1, 32), &texture).ok);
    const uint8_t rgba[] = {2, 1, 0, 255, 3, 2, 1, 254};
    EXPECT_EQ(std::vector<uint8_t>(texture.data, texture.data + 8), std::vector<uint8_t>(rgba, rgba + 8));
    FreeTexturePixels(&texture);
}

TEST(TGADecode, OtherKindsOfPictureAreRejectedWithTheirMessage) {
    std::string rle = MakeTGA(2, 2, 24), withId = rle, sixteen = MakeTGA(2, 2, 16), empty = MakeTGA(0, 4, 24);
    rle[2] = 10;
    withId[0] = 4;
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"rle.tga", rle, "Bad header or not tga file"},
        {"id.tga", withId, "Bad header or not tga file"},
        {"header_only.tga", rle.substr(0, 15), "Bad header or not tga file"},
        {"sixteen.tga", sixteen, "File must be 24 bpp (is 32 bpp)"},
        {"empty.tga", empty, "File must be 24 bpp (is 32 bpp)"},
    };
    for (const auto& c : cases) {
        Texture texture = {};
        Decoded d = Decode(c.name, c.bytes, &texture);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.boxes, Box(c.name, c.reason));
        EXPECT_EQ(texture.data, nullptr);
    }
    Texture texture = {};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(DecodeTGAFile(nullptr, &texture, "/nonexistent/x.tga"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "msgbox: TGA Loader: Error loading /nonexistent/x.tga\\nUnable to open (NULL)\n");
}

TEST(TGADecode, ShortFileLeavesSizeButNoBuffer) {
    Texture texture = {};
    // The second header promises 16 GiB: refused before anything is allocated.
    std::string huge = MakeTGA(1, 1, 32);
    huge[12] = huge[13] = huge[14] = huge[15] = (char)255;
    for (const std::string& bytes : {MakeTGA(4, 4, 24).substr(0, 60), huge}) {
        Decoded d = Decode("short.tga", bytes, &texture);
        EXPECT_FALSE(d.ok);
        EXPECT_EQ(d.boxes, Box("short.tga", "No memory avaliable or data read error"));
        EXPECT_EQ(texture.data, nullptr);
        EXPECT_GE(texture.width, 4u);
        FreeTexturePixels(&texture);  // nothing to free, and no double free
    }
}

// Reads back level `level` of the bound texture as RGBA.
static std::vector<uint8_t> TextureLevel(int level, int width, int height) {
    std::vector<uint8_t> pixels(width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

static Texture Load(const std::string& name, const std::string& bytes) {
    Texture texture = {};
    const std::string path = SaveTGA(name, bytes);
    EXPECT_TRUE(LoadTGATexture(nullptr, &texture, path.c_str()));
    return texture;
}

TEST(TGAUpload, RowsGoUpUnflippedAndThirtyTwoBitsKeepAlpha) {
    if (!OpenTestGLContext()) GTEST_SKIP() << "no display";
    // A top-left origin is ignored: the file's first row is the texture's first row. Rows of
    // 6 bytes upload without padding.
    Texture texture = Load("top_left.tga", MakeTGA(2, 2, 24, 0x20));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLuint)bound, texture.textureId);
    std::vector<uint8_t> level0 = TextureLevel(0, 2, 2);
    EXPECT_EQ(level0, (std::vector<uint8_t>{2, 1, 0, 255, 3, 2, 1, 255, 4, 3, 2, 255, 5, 4, 3, 255}));
    GLint minFilter = 0, magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(magFilter, GL_LINEAR);
    FreeTexturePixels(&texture);

    texture = Load("alpha.tga", MakeTGA(2, 2, 32));
    level0 = TextureLevel(0, 2, 2);
    EXPECT_EQ(std::vector<uint8_t>(level0.begin() + 4, level0.begin() + 8), (std::vector<uint8_t>{3, 2, 1, 254}));
    FreeTexturePixels(&texture);
}

TEST(TGAUpload, A256SquarePictureGetsNineMipmapLevels) {
    if (!OpenTestGLContext()) GTEST_SKIP() << "no display";
    Texture texture = Load("big.tga", MakeTGA(256, 256, 24));
    EXPECT_EQ(texture.width * texture.height * texture.bitsPerPixel / 8, 196608u);
    for (int level = 0; level <= 9; ++level) {
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, level < 9 ? 256 >> level : 0) << level;
    }
    FreeTexturePixels(&texture);
}
