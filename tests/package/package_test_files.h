// Files for the package tests: byte strings written to and read from a test folder.
#pragma once

#include "run_command.h"

#include <string>

std::string Bytes(std::initializer_list<int> bytes);
void WriteFile(const std::string& path, const std::string& data);
bool FileExists(const std::string& path);

// Sample contents: text, noise and runs, `size` bytes from `seed`.
std::string TextData(size_t size, unsigned seed = 1);
std::string NoiseData(size_t size, unsigned seed = 1);
std::string RunData(size_t size, unsigned seed = 1);

// CompressFile on `data`; the LZ stream it wrote, and its result code in *result.
std::string Encode(const std::string& folder, const std::string& data, int* result = nullptr);
// ExtractCompressedEntry of `stream` with `unpackedSize`; the bytes written, "<failed>" on false.
std::string Decode(const std::string& folder, const std::string& stream, int unpackedSize);

// A package with entries (name, data, compressed) written as a packer would write them.
struct TestEntry {
    std::string name;
    std::string data;
    bool compressed;
};
std::string PackageBytes(const std::string& folder, std::initializer_list<TestEntry> entries);
// One raw record: the name field copied as given (up to 260 bytes), sizes and flag as given.
std::string RecordBytes(const std::string& name, int unpackedSize, int packedSize, int flag);
std::string HeaderBytes(int count);
