#include "package_test_files.h"

#include "package/lz.h"
#include "package/lz_encode.h"
#include "package/package.h"

#include <cstring>
#include <fstream>
#include <random>

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back((char)b);
    return s;
}

void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(data.data(), (std::streamsize)data.size());
}

bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

std::string TextData(size_t size, unsigned seed) {
    static const char* words[] = {"the ", "castle ", "frog ", "tube ", "flare ", "of ", "Ka Mora ", "scroll\n", "and "};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < size) s += words[rng() % 9];
    s.resize(size);
    return s;
}

std::string NoiseData(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(size, 0);
    for (char& c : s) c = (char)(rng() & 0xFF);
    return s;
}

std::string RunData(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < size) s.append(1 + rng() % 300, (char)(rng() % 4 == 0 ? ' ' : rng() & 0xFF));
    s.resize(size);
    return s;
}

std::string Encode(const std::string& folder, const std::string& data, int* result) {
    WriteFile(folder + "/source", data);
    int code = CompressFile(nullptr, (folder + "/source").c_str(), (folder + "/stream").c_str());
    if (result) *result = code;
    return ReadWholeFile(folder + "/stream");
}

std::string Decode(const std::string& folder, const std::string& stream, int unpackedSize) {
    WriteFile(folder + "/stream", stream);
    std::string out = folder + "/decoded";
    if (!ExtractCompressedEntry(nullptr, (folder + "/stream").c_str(), out.c_str(), 0, (int32_t)stream.size(), unpackedSize))
        return "<failed>";
    return ReadWholeFile(out);
}

static std::string Int32Bytes(int value) {
    std::string s(4, 0);
    for (int i = 0; i < 4; ++i) s[i] = (char)((unsigned)value >> (8 * i));
    return s;
}

std::string HeaderBytes(int count) {
    return std::string(PackageIdentification, kIdentificationSize) + Int32Bytes(count);
}

std::string RecordBytes(const std::string& name, int unpackedSize, int packedSize, int flag) {
    std::string record(kPackageRecordSize, 0);
    memcpy(record.data(), name.data(), std::min(name.size(), (size_t)kEntryNameField));
    record.replace(260, 4, Int32Bytes(unpackedSize));
    record.replace(264, 4, Int32Bytes(packedSize));
    record[268] = (char)flag;
    return record;
}

std::string PackageBytes(const std::string& folder, std::initializer_list<TestEntry> entries) {
    std::string package = HeaderBytes((int)entries.size());
    for (const TestEntry& e : entries) {
        std::string data = e.compressed ? Encode(folder, e.data) : e.data;
        package += RecordBytes(e.name, (int)e.data.size(), (int)data.size(), e.compressed ? 1 : 0) + data;
    }
    return package;
}
