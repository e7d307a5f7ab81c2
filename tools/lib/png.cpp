#include "lib/png.h"

#include <cstdio>
#include <cstring>

static uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    if (!table[1]) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

static void PutBE32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((uint8_t)(v >> shift));
}

static void PutChunk(FILE* file, const char* type, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> chunk;
    PutBE32(chunk, (uint32_t)body.size());
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    PutBE32(chunk, Crc32(chunk.data() + 4, chunk.size() - 4));
    fwrite(chunk.data(), 1, chunk.size(), file);
}

// zlib stream of stored blocks (at most 65535 bytes each) with its Adler-32.
static std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back((uint8_t)n);
        out.push_back((uint8_t)(n >> 8));
        out.push_back((uint8_t)~n);
        out.push_back((uint8_t)(~n >> 8));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBE32(out, (b << 16) | a);
    return out;
}

bool WritePng(const std::string& path, const RgbImage& image) {
    const size_t row = (size_t)image.width * 3;
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), image.pixels.begin() + y * row, image.pixels.begin() + (y + 1) * row);
    }
    std::vector<uint8_t> header;
    PutBE32(header, (uint32_t)image.width);
    PutBE32(header, (uint32_t)image.height);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    std::string temp = path + ".part";
    FILE* file = fopen(temp.c_str(), "wb");
    if (!file) return false;
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    fwrite(signature, 1, 8, file);
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", StoredZlib(raw));
    PutChunk(file, "IEND", {});
    bool ok = !ferror(file);
    ok = (fclose(file) == 0) && ok;
    if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) remove(temp.c_str());
    return ok;
}

static uint32_t GetBE32(const uint8_t* p) { return (uint32_t)p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// Unpacks the stored blocks of a zlib stream; false for any compressed block.
static bool UnstoreZlib(const std::vector<uint8_t>& z, std::vector<uint8_t>* raw) {
    size_t at = 2;
    for (;;) {
        if (at + 5 > z.size()) return false;
        uint8_t final = z[at] & 1;
        if ((z[at] >> 1) & 3) return false;
        size_t n = z[at + 1] | z[at + 2] << 8;
        at += 5;
        if (at + n > z.size()) return false;
        raw->insert(raw->end(), z.begin() + at, z.begin() + at + n);
        at += n;
        if (final) return true;
    }
}

bool ReadPng(const std::string& path, RgbImage* image) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) data.insert(data.end(), buffer, buffer + n);
    fclose(file);
    if (data.size() < 8 + 25) return false;
    std::vector<uint8_t> z;
    for (size_t at = 8; at + 12 <= data.size();) {
        uint32_t length = GetBE32(&data[at]);
        if (at + 12 + length > data.size()) return false;
        const uint8_t* body = &data[at + 8];
        if (!memcmp(&data[at + 4], "IHDR", 4)) {
            image->width = (int)GetBE32(body);
            image->height = (int)GetBE32(body + 4);
            if (body[8] != 8 || body[9] != 2 || body[12] != 0) return false;
        } else if (!memcmp(&data[at + 4], "IDAT", 4)) {
            z.insert(z.end(), body, body + length);
        }
        at += 12 + length;
    }
    std::vector<uint8_t> raw;
    if (image->width <= 0 || image->height <= 0 || !UnstoreZlib(z, &raw)) return false;
    const size_t row = (size_t)image->width * 3;
    if (raw.size() != (row + 1) * image->height) return false;
    image->pixels.clear();
    for (int y = 0; y < image->height; ++y) {
        if (raw[y * (row + 1)] != 0) return false;
        image->pixels.insert(image->pixels.end(), raw.begin() + y * (row + 1) + 1, raw.begin() + (y + 1) * (row + 1));
    }
    return true;
}
