// kamora-tool's package commands, run as the content build and the crew run them.
#include "run_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

static std::string Tool() { return std::string(KAMORA_BUILD_DIR) + "/kamora-tool"; }

static void Write(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary).write(data.data(), (std::streamsize)data.size());
}

static std::string Noise(size_t size) {
    std::mt19937 rng(7);
    std::string s(size, 0);
    for (char& c : s) c = (char)(rng() & 0xFF);
    return s;
}

static std::string Text(size_t size) {
    std::string s;
    for (int i = 0; s.size() < size; ++i) s += "frame " + std::to_string(i % 50) + " of the castle scene\n";
    return s.substr(0, size);
}

// A folder holding a few entry files of every kind.
static std::string MakeEntries(const std::string& test) {
    std::string folder = MakeTestFolder(test);
    RunCommand("mkdir -p in out", folder);
    Write(folder + "/in/scn1.3ds", Text(70000));
    Write(folder + "/in/music.mp3", Noise(30000));
    Write(folder + "/in/empty.raw", "");
    Write(folder + "/in/ese.raw", std::string(5000, '\x10') + Noise(100));
    return folder;
}

static const char kEntries[] = "in/scn1.3ds in/music.mp3 in/empty.raw in/ese.raw";

TEST(PackageCommands, PackListVerifyExtractRoundTrip) {
    std::string folder = MakeEntries("tool_round_trip");
    CommandResult r = RunCommand(Tool() + " pack KaMora.ppk " + kEntries, folder);
    ASSERT_EQ(r.exitCode, 0) << r.out;

    r = RunCommand(Tool() + " list KaMora.ppk", folder);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("scn1.3ds                      70000"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("music.mp3                     30000      30000 stored"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("empty.raw                         0          0 stored"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" lz\nmusic.mp3"), std::string::npos) << r.out;

    r = RunCommand(Tool() + " verify KaMora.ppk", folder);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out, "KaMora.ppk: sound, 4 entries\n");

    r = RunCommand(Tool() + " extract KaMora.ppk -C out", folder);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    for (const char* name : {"scn1.3ds", "music.mp3", "empty.raw", "ese.raw"})
        EXPECT_EQ(ReadWholeFile(folder + "/out/" + name), ReadWholeFile(folder + "/in/" + name)) << name;

    RunCommand("rm -f out/*", folder);
    r = RunCommand(Tool() + " extract ../KaMora.ppk ese.raw", folder + "/out");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(RunCommand("ls", folder + "/out").out, "ese.raw\n");
    r = RunCommand(Tool() + " extract KaMora.ppk ESE.RAW -C out", folder);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("File ESE.RAW not found in package!"), std::string::npos) << r.out;
}

TEST(PackageCommands, StoreOptionStoresEverything) {
    std::string folder = MakeEntries("tool_store");
    ASSERT_EQ(RunCommand(Tool() + " pack --store KaMora.ppk " + kEntries, folder).exitCode, 0);
    CommandResult r = RunCommand(Tool() + " list KaMora.ppk", folder);
    EXPECT_EQ(r.out.find(" lz"), std::string::npos) << r.out;
    EXPECT_EQ(RunCommand(Tool() + " verify KaMora.ppk", folder).exitCode, 0);
}

TEST(PackageCommands, FailedPackLeavesTheOldPackage) {
    std::string folder = MakeEntries("tool_pack_fail");
    Write(folder + "/KaMora.ppk", "old");
    RunCommand("mkdir -p other && cp in/ese.raw other/", folder);
    for (const char* args : {"in/ese.raw other/ese.raw", "in/ese.raw in/missing.raw", "in/ese.raw in/"}) {
        CommandResult r = RunCommand(Tool() + " pack KaMora.ppk " + args, folder);
        EXPECT_EQ(r.exitCode, 1) << args;
        EXPECT_NE(r.out.find("kamora-tool pack: "), std::string::npos) << r.out;
        EXPECT_EQ(ReadWholeFile(folder + "/KaMora.ppk"), "old") << args;
    }
    EXPECT_EQ(RunCommand("ls", folder).out, "KaMora.ppk\nin\nother\nout\n");
    Write(folder + "/" + std::string(260, 'n'), "x");
    EXPECT_EQ(RunCommand(Tool() + " pack KaMora.ppk " + std::string(260, 'n'), folder).exitCode, 1);
    EXPECT_EQ(RunCommand(Tool() + " pack KaMora.ppk", folder).exitCode, 2);
}

TEST(PackageCommands, CutPackageIsRejected) {
    std::string folder = MakeTestFolder("tool_cut");
    Write(folder + "/a.txt", Text(300));
    Write(folder + "/b.raw", "bytes");
    Write(folder + "/c.raw", "");
    ASSERT_EQ(RunCommand(Tool() + " pack full.ppk a.txt b.raw c.raw", folder).exitCode, 0);
    const int size = (int)ReadWholeFile(folder + "/full.ppk").size();
    const int lz = size - 3 * 272 - 32 - 5;  // a.txt's stream
    // Inside the header, the records and each entry's data, and at every boundary between them.
    for (int cut : {0, 31, 32, 100, 303, 304, 305, 304 + lz / 2, 303 + lz, 304 + lz, 304 + lz + 271,
                    304 + lz + 272, 304 + lz + 276, size - 272, size - 1}) {
        std::string command = "head -c " + std::to_string(cut) + " full.ppk > cut.ppk && rm -rf x && mkdir x && ";
        CommandResult verify = RunCommand(command + Tool() + " verify cut.ppk", folder);
        EXPECT_EQ(verify.exitCode, 1) << cut;
        EXPECT_NE(verify.out.find("cut.ppk: "), std::string::npos) << verify.out;
        CommandResult extract = RunCommand(Tool() + " extract cut.ppk -C x", folder);
        EXPECT_EQ(extract.exitCode, 1) << cut;
        EXPECT_EQ(RunCommand("ls -A x", folder).out, "") << cut;
    }
}

TEST(PackageCommands, VerifyNamesTheFirstProblem) {
    std::string folder = MakeEntries("tool_verify");
    ASSERT_EQ(RunCommand(Tool() + " pack good.ppk in/ese.raw in/scn1.3ds", folder).exitCode, 0);
    std::string good = ReadWholeFile(folder + "/good.ppk");
    Write(folder + "/trailing.ppk", good + "xy");
    CommandResult r = RunCommand(Tool() + " verify trailing.ppk", folder);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("2 trailing bytes at offset " + std::to_string(good.size())), std::string::npos) << r.out;

    std::string twice = good;
    size_t second = twice.find("scn1.3ds");
    twice.replace(second, 7, "ese.raw");
    twice[second + 7] = 0;
    Write(folder + "/twice.ppk", twice);
    r = RunCommand(Tool() + " verify twice.ppk", folder);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("entry 1 'ese.raw' at offset " + std::to_string(second) + ": duplicate name (entry 0)"),
              std::string::npos) << r.out;

    std::string bad = good;
    bad[28] = 9;
    Write(folder + "/bad.ppk", bad);
    EXPECT_NE(RunCommand(Tool() + " verify bad.ppk", folder).out.find("cut short"), std::string::npos);
    bad = good;
    bad[5] = 'X';
    Write(folder + "/bad.ppk", bad);
    EXPECT_NE(RunCommand(Tool() + " verify bad.ppk", folder).out.find("bad identification"), std::string::npos);
}

TEST(PackageCommands, CompressAndDecompressRawStreams) {
    std::string folder = MakeEntries("tool_compress");
    CommandResult r = RunCommand(Tool() + " compress in/scn1.3ds scn.lz", folder);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(RunCommand(Tool() + " decompress scn.lz scn 70000 && cmp scn in/scn1.3ds", folder).exitCode, 0);
    r = RunCommand(Tool() + " decompress scn.lz scn2 70001", folder);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("msgbox: LZ Error: "), std::string::npos) << r.out;
    EXPECT_EQ(RunCommand("test -e scn2", folder).exitCode, 1);
    EXPECT_EQ(RunCommand(Tool() + " decompress scn.lz scn2 -1", folder).exitCode, 2);
    EXPECT_EQ(RunCommand(Tool() + " compress in/nothing x.lz", folder).exitCode, 1);
    for (const char* command : {"pack", "list", "extract", "verify", "compress", "decompress"})
        EXPECT_EQ(RunCommand(Tool() + " " + command + " --help").exitCode, 0) << command;
}
