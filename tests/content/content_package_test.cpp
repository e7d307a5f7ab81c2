// The packed KaMora.ppk: sound, and holding every generated entry byte for byte.
#include "run_command.h"

#include <gtest/gtest.h>

#include <fstream>

static std::string Build(const std::string& path) { return std::string(KAMORA_BUILD_DIR) + "/" + path; }

TEST(ContentPackage, VerifiesAndHoldsEveryEntryAsGenerated) {
    std::string package = Build("KaMora.ppk");
    ASSERT_TRUE(std::ifstream(package).good()) << "the build packs KaMora.ppk";
    CommandResult verify = RunCommand(Build("kamora-tool") + " verify '" + package + "'");
    EXPECT_EQ(verify.exitCode, 0) << verify.out;
    std::string folder = MakeTestFolder("content_package");
    CommandResult extract = RunCommand(Build("kamora-tool") + " extract '" + package + "'", folder);
    ASSERT_EQ(extract.exitCode, 0) << extract.out;
    std::ifstream list(std::string(KAMORA_SOURCE_DIR) + "/content/generator/entries.txt");
    std::string name;
    int compared = 0;
    while (std::getline(list, name)) {
        if (name.empty() || name[0] == '#') continue;
        std::string packed = ReadWholeFile(folder + "/" + name);
        EXPECT_FALSE(packed.empty()) << name << " missing from the package";
        EXPECT_TRUE(packed == ReadWholeFile(Build("content/entries/" + name))) << name;
        compared++;
    }
    EXPECT_EQ(compared, 66);
}
