// Every entry of the package is generated, in the form its loader reads, and the generator
// gives the same bytes on every run.
#include "run_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

static std::string EntriesFolder() { return std::string(KAMORA_BUILD_DIR) + "/content/entries"; }

static std::vector<std::string> ListedEntries() {
    std::ifstream list(std::string(KAMORA_SOURCE_DIR) + "/content/generator/entries.txt");
    std::vector<std::string> names;
    std::string line;
    while (std::getline(list, line))
        if (!line.empty() && line[0] != '#') names.push_back(line);
    return names;
}

static bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(ContentEntries, ListHoldsEveryEntryTheShowAsksFor) {
    std::vector<std::string> names = ListedEntries();
    for (const char* name : {"load.tga", "scroll.tga", "scn1.3ds", "flipe01.3DS", "vardenix.tga", "flipe_env.3ds",
                             "Txt2.tga", "k.tga", "frog.3DS", "cube.3DS", "gris.tga", "tubo.3DS", "fr08.3DS",
                             "sinscrol.raw", "oldcube.3ds", "castle.3DS", "sphere.3ds", "planes.3DS", "ese.raw",
                             "t_01.tga", "t_14.tga", "t_16.tga", "t_19.tga"})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    EXPECT_EQ(std::find(names.begin(), names.end(), "t_15.tga"), names.end());
    EXPECT_EQ(names.size(), 66u);
}

TEST(ContentEntries, PicturesAreUncompressedTrueColourTga) {
    static const unsigned char kHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (const std::string& name : ListedEntries()) {
        if (!EndsWith(name, ".tga")) continue;
        SCOPED_TRACE(name);
        std::string data = ReadWholeFile(EntriesFolder() + "/" + name);
        ASSERT_GE(data.size(), 18u);
        EXPECT_EQ(data.compare(0, 12, std::string((const char*)kHeader, 12)), 0);
        unsigned width = (unsigned char)data[12] | (unsigned char)data[13] << 8;
        unsigned height = (unsigned char)data[14] | (unsigned char)data[15] << 8;
        unsigned bits = (unsigned char)data[16];
        EXPECT_TRUE(bits == 24 || bits == 32);
        EXPECT_GT(width, 0u);
        EXPECT_GT(height, 0u);
        EXPECT_EQ(data.size(), 18 + width * height * (bits / 8));
        if (name == "gris.tga") {
            EXPECT_TRUE(width == 256 && height == 256) << "the overlay replaces a 256 x 256 level 0";
        }
        if (name == "scroll.tga") {
            EXPECT_GE(height, 2 * width) << "the end scroll is a tall picture";
        }
    }
}

TEST(ContentEntries, RawTablesHaveTheirExactSizes) {
    EXPECT_EQ(ReadWholeFile(EntriesFolder() + "/ese.raw").size(), 30000u);
    // The scroller line carries lit pixels in every band of columns the camera pans over.
    std::string line = ReadWholeFile(EntriesFolder() + "/sinscrol.raw");
    ASSERT_EQ(line.size(), 9216u);
    for (int band = 0; band < 8; band++) {
        int lit = 0;
        for (int row = 0; row < 12; row++)
            for (int col = band * 32; col < band * 32 + 32; col++)
                if ((unsigned char)line[(row * 256 + col) * 3 + 1] > 40 || (unsigned char)line[(row * 256 + col) * 3] > 40) lit++;
        EXPECT_GT(lit, 10) << "band " << band;
    }
}

TEST(ContentEntries, GeneratorIsDeterministicAndMatchesTheBuild) {
    std::string generator = std::string(KAMORA_BUILD_DIR) + "/content/generator/kamora-content";
    std::string content = std::string(KAMORA_SOURCE_DIR) + "/content/generator";
    std::string fonts = "/usr/share/fonts/truetype/dejavu";
    std::string first = MakeTestFolder("content_first"), second = MakeTestFolder("content_second");
    ASSERT_EQ(RunCommand("'" + generator + "' . '" + content + "' " + fonts, first).exitCode, 0);
    ASSERT_EQ(RunCommand("'" + generator + "' . '" + content + "' " + fonts, second).exitCode, 0);
    for (const std::string& name : ListedEntries()) {
        std::string a = ReadWholeFile(first + "/" + name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == ReadWholeFile(second + "/" + name)) << name << " differs between two runs";
        EXPECT_TRUE(a == ReadWholeFile(EntriesFolder() + "/" + name)) << name << " differs from the build's";
    }
}

TEST(ContentEntries, GeneratorFailsCleanlyWithoutItsInputs) {
    std::string generator = std::string(KAMORA_BUILD_DIR) + "/content/generator/kamora-content";
    std::string folder = MakeTestFolder("content_no_inputs");
    CommandResult noTexts = RunCommand("'" + generator + "' . /nonexistent /usr/share/fonts/truetype/dejavu", folder);
    EXPECT_NE(noTexts.exitCode, 0);
    EXPECT_NE(noTexts.out.find("cannot read /nonexistent/texts.txt"), std::string::npos) << noTexts.out;
    std::string content = std::string(KAMORA_SOURCE_DIR) + "/content/generator";
    CommandResult noFonts = RunCommand("'" + generator + "' . '" + content + "' /nonexistent", folder);
    EXPECT_NE(noFonts.exitCode, 0);
    EXPECT_NE(noFonts.out.find("fonts-dejavu-core"), std::string::npos) << noFonts.out;
    EXPECT_EQ(RunCommand("'" + generator + "'", folder).exitCode, 2);
    // A caption without its words fails the build rather than packing a blank panel.
    ASSERT_EQ(RunCommand("grep -v '^t_05' '" + content + "/texts.txt' > texts.txt && cp '" + content + "/entries.txt' .", folder).exitCode, 0);
    CommandResult noCaption = RunCommand("'" + generator + "' . . /usr/share/fonts/truetype/dejavu", folder);
    EXPECT_NE(noCaption.exitCode, 0);
    EXPECT_NE(noCaption.out.find("no line for t_05"), std::string::npos) << noCaption.out;
}

// A 24-bit picture entry: width, height and B, G, R bytes, bottom row first (empty if not one).
struct TgaPixels {
    int width = 0, height = 0;
    std::string bgr;
    int Brightest(int x, int y) const {  // the largest of the pixel's three channels
        const char* p = bgr.data() + ((size_t)y * width + x) * 3;
        return std::max({(unsigned char)p[0], (unsigned char)p[1], (unsigned char)p[2]});
    }
};

static TgaPixels ReadTga(const std::string& name) {
    std::string data = ReadWholeFile(EntriesFolder() + "/" + name);
    TgaPixels tga;
    if (data.size() < 18 || data[16] != 24) return tga;
    int width = (unsigned char)data[12] | (unsigned char)data[13] << 8;
    int height = (unsigned char)data[14] | (unsigned char)data[15] << 8;
    if (data.size() < 18 + (size_t)width * height * 3) return tga;
    tga.width = width;
    tga.height = height;
    tga.bgr = data.substr(18, (size_t)width * height * 3);
    return tga;
}

// The columns and lowest row of a title letter's bright core (its blue channel: the glow is orange).
struct InkBox {
    int left = 1 << 30, right = -1, bottom = 1 << 30;
};

static InkBox LetterCore(const std::string& name) {
    TgaPixels tga = ReadTga(name);
    InkBox box;
    for (int y = 0; y < tga.height; y++)
        for (int x = 0; x < tga.width; x++)
            if ((unsigned char)tga.bgr[((size_t)y * tga.width + x) * 3] > 128) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::min(box.bottom, y);
            }
    return box;
}

// Stood at the title's letter centres (squares 2 units, 128 pixels, wide), the five pictures read
// "Ka Mora": no glyph runs into its neighbour, the gaps inside a word are even, the word space is
// clearly wider, and the letters share one baseline.
TEST(ContentEntries, TitleLettersSpaceEvenlyOnOneBaseline) {
    const char* files[5] = {"k.tga", "a.tga", "m.tga", "o.tga", "r.tga"};
    const float centres[6] = {-1.0f, 0.3f, 1.9f, 2.7f, 3.45f, 4.5f};
    const int pictureOf[6] = {0, 1, 2, 3, 4, 1};
    InkBox box[5];
    for (int p = 0; p < 5; p++) {
        box[p] = LetterCore(files[p]);
        ASSERT_GE(box[p].right, 0) << files[p] << " has no letter";
    }
    auto gap = [&](int i) {  // pixels between letter i and letter i + 1
        const InkBox &a = box[pictureOf[i]], &b = box[pictureOf[i + 1]];
        return (centres[i + 1] - centres[i]) * 64 + b.left - a.right;
    };
    float inWord[4] = {gap(0), gap(2), gap(3), gap(4)};
    float narrowest = *std::min_element(inWord, inWord + 4), widest = *std::max_element(inWord, inWord + 4);
    EXPECT_GT(narrowest, 4.0f);
    EXPECT_LE(widest - narrowest, 6.0f) << "uneven gaps";
    EXPECT_GT(gap(1), 2 * widest) << "the word space";
    for (int p : {2, 4}) EXPECT_NEAR(box[p].bottom, box[0].bottom, 1) << files[p];
    for (int p : {1, 3}) EXPECT_NEAR(box[p].bottom, box[0].bottom, 3) << files[p];
}

// The frog scene lies under a grey of 205 that leaves a fifth of the range: its six captions are
// crisp (hardly any glow around the letters, which would saturate into them), the sky and the
// pond behind them stay dark, and the frog's skin is brighter than both.
TEST(ContentEntries, FrogPicturesAreMadeForTheGrey) {
    auto mean = [](const TgaPixels& tga) {
        double sum = 0;
        for (int y = 0; y < tga.height; y++)
            for (int x = 0; x < tga.width; x++) sum += tga.Brightest(x, y);
        return sum / std::max(1, tga.width * tga.height);
    };
    for (const char* name : {"t_01.tga", "t_02.tga", "t_03.tga", "t_04.tga", "t_05.tga", "t_06.tga"}) {
        TgaPixels tga = ReadTga(name);
        int letters = 0, halo = 0;
        for (int y = 0; y < tga.height; y++)
            for (int x = 0; x < tga.width; x++) {
                int v = tga.Brightest(x, y);
                letters += v >= 200;
                halo += v >= 26 && v < 200;
            }
        EXPECT_GT(letters, 2000) << name << ": large letters";
        EXPECT_LT(halo, letters * 2 / 5) << name << ": a soft edge";
    }
    double sky = mean(ReadTga("sky01.tga")), pond = mean(ReadTga("blue.tga")), skin = mean(ReadTga("green.tga"));
    EXPECT_LT(sky, 20);
    EXPECT_LT(pond, 20);
    EXPECT_GT(skin, 2 * std::max(sky, pond));
}
