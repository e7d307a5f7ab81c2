// Lookup and extraction through InitUnpacker / ExtractFile, including damaged packages.
#include "package/package.h"
#include "package_test_files.h"
#include "platform/events.h"

#include <gtest/gtest.h>

// Writes `bytes` as the package, points the unpacker at it and returns its path.
static std::string UsePackage(const std::string& test, const std::string& bytes) {
    std::string path = MakeTestFolder(test) + "/KaMora.ppk";
    WriteFile(path, bytes);
    EXPECT_TRUE(InitUnpacker(nullptr, path.c_str(), 0, false));
    return path;
}

// ExtractFile's result with what it wrote ("" on failure) and the boxes it showed.
struct Extraction {
    bool ok;
    std::string data;
    std::string boxes;
};

static Extraction Extract(const std::string& name) {
    testing::internal::CaptureStderr();
    bool ok = ExtractFile(nullptr, name.c_str());
    std::string boxes = testing::internal::GetCapturedStderr();
    std::string data = ok ? ReadWholeFile(ExtractedPath) : "";
    if (ok) DeleteExtractedFile();
    return {ok, data, boxes};
}

static const char kNotFound[] = "msgbox: Unpacker Error: File ";

TEST(ExtractFile, FindsExactNamesFirstMatchFirst) {
    std::string folder = MakeTestFolder("package_lookup_data");
    const std::string scene = TextData(20000);
    UsePackage("package_lookup", PackageBytes(folder, {{"scn1.3ds", scene, true},
                                                       {"Load.tga", "upper", false},
                                                       {"load.tga", "first", false},
                                                       {"load.tga", "second", true},
                                                       {"empty.raw", "", false},
                                                       {"music.mp3", NoiseData(5000), false}}));
    EXPECT_EQ(Extract("scn1.3ds").data, scene);
    EXPECT_EQ(Extract("load.tga").data, "first");
    EXPECT_EQ(Extract("Load.tga").data, "upper");
    EXPECT_EQ(Extract("music.mp3").data, NoiseData(5000));  // reached past a compressed entry

    Extraction empty = Extract("empty.raw");
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.data, "");

    Extraction missing = Extract("LOAD.TGA");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.boxes, std::string(kNotFound) + "LOAD.TGA not found in package!\n");
    // ExtractedPath names the file that would have been written.
    EXPECT_EQ(std::string(ExtractedPath), std::string(TempFolder) + "/LOAD.TGA");
    EXPECT_FALSE(Extract("load.tg").ok);
    EXPECT_FALSE(Extract("").ok);
}

TEST(ExtractFile, DeleteExtractedFileRemovesIt) {
    std::string folder = MakeTestFolder("package_delete_data");
    UsePackage("package_delete", PackageBytes(folder, {{"a.raw", "abc", false}}));
    ASSERT_TRUE(ExtractFile(nullptr, "a.raw"));
    EXPECT_TRUE(FileExists(ExtractedPath));
    DeleteExtractedFile();
    EXPECT_FALSE(FileExists(ExtractedPath));
}

TEST(ExtractFile, IdentificationMustMatchWithItsZeroByte) {
    std::string folder = MakeTestFolder("package_ident_data");
    std::string bytes = PackageBytes(folder, {{"a.raw", "abc", false}});
    bytes[27] = '!';
    UsePackage("package_ident", bytes);
    EXPECT_EQ(Extract("a.raw").boxes, std::string(kNotFound) + "a.raw not found in package!\n");
    bytes[27] = 0;
    bytes[3] = 'D';
    UsePackage("package_ident", bytes);
    EXPECT_FALSE(Extract("a.raw").ok);
}

TEST(ExtractFile, MissingOrShortPackage) {
    std::string folder = MakeTestFolder("package_missing");
    std::string path = folder + "/KaMora.ppk";
    EXPECT_TRUE(InitUnpacker(nullptr, path.c_str(), 0, false));
    EXPECT_EQ(Extract("a.raw").boxes, "msgbox: Extract file Error: Package file '" + path + "' not found!.\\n\n");
    UsePackage("package_missing", HeaderBytes(1).substr(0, 31));
    EXPECT_EQ(Extract("a.raw").boxes, "msgbox: Pack Info Error: Error reading package indentification!.\\n"
                                      "Please report this bug with error code 10\n");
}

TEST(InitUnpacker, ChecksTheSizeOnlyWhenAsked) {
    std::string path = UsePackage("package_size", HeaderBytes(0));
    EXPECT_TRUE(InitUnpacker(nullptr, path.c_str(), 32, true));
    for (int size : {31, 33}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(InitUnpacker(nullptr, path.c_str(), size, true));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "msgbox: InitUnpacker Error: Package file '" + path +
                      "' not valid\\nMaybe corrupt or not original file for demo 'Ka Mora - Vardenix (Party)'\n");
    }
    testing::internal::CaptureStderr();
    EXPECT_FALSE(InitUnpacker(nullptr, (path + "x").c_str(), 32, true));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "msgbox: InitUnpacker Error: Unable to open package '" + path + "x'!\n");
    EXPECT_STREQ(PackagePath, (path + "x").c_str());
}

TEST(ExtractFile, DataCutShortFailsWithoutLeavingAFile) {
    std::string folder = MakeTestFolder("package_cut_data");
    std::string stored = PackageBytes(folder, {{"a.raw", NoiseData(100000), false}});
    std::string packed = PackageBytes(folder, {{"a.txt", TextData(100000), true}});
    for (size_t keep : {(size_t)0, (size_t)1, (size_t)2000}) {
        UsePackage("package_cut", stored.substr(0, 32 + 272 + keep));
        Extraction e = Extract("a.raw");
        EXPECT_FALSE(e.ok);
        EXPECT_NE(e.boxes.find("msgbox: Extract Error: "), std::string::npos) << e.boxes;
        EXPECT_FALSE(FileExists(ExtractedPath));

        UsePackage("package_cut", packed.substr(0, 32 + 272 + keep));
        e = Extract("a.txt");
        EXPECT_FALSE(e.ok);
        EXPECT_NE(e.boxes.find("msgbox: LZ Error: "), std::string::npos) << e.boxes;
        EXPECT_FALSE(FileExists(ExtractedPath));
    }
    UsePackage("package_cut", packed.substr(0, packed.size() - 1));
    EXPECT_FALSE(Extract("a.txt").ok);
    EXPECT_FALSE(FileExists(ExtractedPath));
}

// A compressed entry whose stream is shorter than its unpacked size (a damaged record) fails as
// cut short: its decoder stops at the entry's packed size instead of reading the next entry.
TEST(ExtractFile, DamagedStreamEndsAtItsOwnPackedSize) {
    std::string folder = MakeTestFolder("package_stream_bound_data");
    std::string bytes = PackageBytes(folder, {{"a.txt", TextData(600), true}, {"b.raw", NoiseData(3000), false}});
    bytes.replace(32 + 260, 4, Bytes({0x20, 0x03, 0, 0}));  // unpacked size 800 instead of 600
    UsePackage("package_stream_bound", bytes);
    Extraction e = Extract("a.txt");
    EXPECT_FALSE(e.ok);
    EXPECT_NE(e.boxes.find("msgbox: LZ Error: The compressed data in "), std::string::npos) << e.boxes;
    EXPECT_NE(e.boxes.find(" ends early!"), std::string::npos) << e.boxes;
    EXPECT_FALSE(FileExists(ExtractedPath));
    EXPECT_EQ(Extract("b.raw").data, NoiseData(3000));
}

TEST(ExtractFile, PackageCutAtAnyByteNeverYieldsTheLastEntry) {
    std::string folder = MakeTestFolder("package_cut_any_data");
    const std::string full = PackageBytes(folder, {{"a.txt", TextData(600), true},
                                                   {"b.raw", "stored", false},
                                                   {"c.txt", TextData(300, 2), true}});
    for (size_t cut = 0; cut < full.size(); ++cut) {
        UsePackage("package_cut_any", full.substr(0, cut));
        EXPECT_FALSE(Extract("c.txt").ok) << cut;
        EXPECT_FALSE(FileExists(ExtractedPath)) << cut;
    }
    UsePackage("package_cut_any", full);
    EXPECT_EQ(Extract("c.txt").data, TextData(300, 2));
}

TEST(ExtractFile, UnsafeRecordsEndTheWalk) {
    const std::string target = RecordBytes("b.raw", 3, 3, 0) + "bbb";
    struct Case {
        const char* what;
        std::string record;
    } cases[] = {
        {"negative unpacked size", RecordBytes("a.raw", -272, 0, 0)},
        {"negative packed size", RecordBytes("a.raw", 10, -300, 1)},
        {"size past 2 GiB", RecordBytes("a.raw", 0x7FFFFFFF, 0, 0)},
        {"packed size past 2 GiB", RecordBytes("a.raw", 5, 0x7FFFFFF0, 1)},
        {"matching name, negative size", RecordBytes("b.raw", -1, 0, 0)},
    };
    for (const Case& c : cases) {
        UsePackage("package_unsafe", HeaderBytes(2) + c.record + target);
        Extraction e = Extract("b.raw");
        EXPECT_FALSE(e.ok) << c.what;
        EXPECT_EQ(e.boxes, std::string(kNotFound) + "b.raw not found in package!\n") << c.what;
    }
    UsePackage("package_unsafe", HeaderBytes(-1) + target);
    EXPECT_FALSE(Extract("b.raw").ok);
    UsePackage("package_unsafe", HeaderBytes(2) + target + RecordBytes("c.raw", 0, 0, 0).substr(0, 271));
    EXPECT_FALSE(Extract("c.raw").ok);
    EXPECT_TRUE(Extract("b.raw").ok);
}

TEST(ExtractFile, NameFieldWithoutZeroByteIsReadAs259Characters) {
    const std::string name(260, 'n');
    UsePackage("package_long_name", HeaderBytes(1) + RecordBytes(name, 2, 2, 0) + "ok");
    EXPECT_NE(Extract(name).boxes.find(kNotFound), std::string::npos);
    // Found: too long a file name for this file system, so the create fails instead.
    EXPECT_NE(Extract(name.substr(0, 259)).boxes.find("Unable to create"), std::string::npos);
}

static int KeysSeen = 0;
static long CountKeys(WindowHandle, int message, uint32_t, uint32_t) {
    if (message == MSG_KEYDOWN) ++KeysSeen;
    return 0;
}

TEST(ExtractFile, LongExtractionsKeepPumpingMessages) {
    std::string folder = MakeTestFolder("package_pump_data");
    UsePackage("package_pump", PackageBytes(folder, {{"big.raw", NoiseData(300000), false},
                                                     {"big.txt", TextData(300000), true}}));
    SetWindowProcedure(CountKeys);
    for (const char* name : {"big.raw", "big.txt"}) {
        KeysSeen = 0;
        PostPlatformMessage(MSG_KEYDOWN, 27, 0);
        EXPECT_TRUE(Extract(name).ok);
        EXPECT_EQ(KeysSeen, 1) << name;
    }
    SetWindowProcedure(nullptr);
}
