#include "package/lz_encode.h"

#include "package/lz.h"
#include "package/lz_stream.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

// The match tree: one binary search tree per first byte over the ring positions, each position
// standing for the 18-byte string that starts there. kNone marks a missing link; the right-child
// array carries the 256 roots at kNone + 1 + byte.
enum { kNone = kRingSize, kRoots = kRingSize + 1 };

static int LeftChild[kRingSize + 1];
static int RightChild[kRingSize + 1 + 256];
static int Parent[kRingSize + 1];
static int MatchPosition;
static int MatchLength;

static void ResetTrees() {
    for (int i = kRoots; i < kRoots + 256; ++i) RightChild[i] = kNone;
    for (int i = 0; i < kRingSize; ++i) Parent[i] = kNone;
}

// Index of the first of bytes 1 to 17 where two 18-byte strings differ, 18 when they agree.
// Compares eight bytes at a time: the lowest set bit of the difference marks the first
// differing byte on a little-endian machine.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "FirstDifference reads words little-endian");
static inline int FirstDifference(const unsigned char* a, const unsigned char* b) {
    for (int i = 1; i < 17; i += 8) {
        uint64_t x, y;
        memcpy(&x, a + i, 8);
        memcpy(&y, b + i, 8);
        if (x != y) return i + (__builtin_ctzll(x ^ y) >> 3);
    }
    return a[17] != b[17] ? 17 : 18;
}

// Puts position r into its tree and leaves the longest earlier match in MatchPosition and
// MatchLength (ties keep the node met first, the one higher up).
static void InsertNode(int r) {
    const unsigned char* key = &RingBuffer[r];
    int cmp = 1;
    int p = kRoots + key[0];
    RightChild[r] = LeftChild[r] = kNone;
    MatchLength = 0;
    for (;;) {
        int* link = cmp >= 0 ? &RightChild[p] : &LeftChild[p];
        if (*link == kNone) {
            *link = r;
            Parent[r] = p;
            return;
        }
        p = *link;
        const unsigned char* node = &RingBuffer[p];
        int i = FirstDifference(key, node);
        if (i < kMaxMatch) cmp = key[i] - node[i];
        if (i > MatchLength) {
            MatchPosition = p;
            MatchLength = i;
            if (i >= kMaxMatch) break;
        }
    }
    // The same 18 bytes: r takes the older node's place, which leaves the tree.
    Parent[r] = Parent[p];
    LeftChild[r] = LeftChild[p];
    RightChild[r] = RightChild[p];
    Parent[LeftChild[p]] = r;
    Parent[RightChild[p]] = r;
    if (RightChild[Parent[p]] == p) RightChild[Parent[p]] = r;
    else LeftChild[Parent[p]] = r;
    Parent[p] = kNone;
}

static void DeleteNode(int p) {
    if (Parent[p] == kNone) return;
    int q;
    if (RightChild[p] == kNone) {
        q = LeftChild[p];
    } else if (LeftChild[p] == kNone) {
        q = RightChild[p];
    } else {
        q = LeftChild[p];
        if (RightChild[q] != kNone) {
            while (RightChild[q] != kNone) q = RightChild[q];
            RightChild[Parent[q]] = LeftChild[q];
            Parent[LeftChild[q]] = Parent[q];
            LeftChild[q] = LeftChild[p];
            Parent[LeftChild[p]] = q;
        }
        RightChild[q] = RightChild[p];
        Parent[RightChild[p]] = q;
    }
    Parent[q] = Parent[p];
    if (RightChild[Parent[p]] == p) RightChild[Parent[p]] = q;
    else LeftChild[Parent[p]] = q;
    Parent[p] = kNone;
}

// The group being built: a flag byte and up to eight items of one or two bytes.
static unsigned char Group[17];
static int GroupUsed;
static unsigned GroupMask;

static void WriteGroup() {
    for (int i = 0; i < GroupUsed; ++i) WriteLZByte(Group[i]);
    Group[0] = 0;
    GroupUsed = 1;
    GroupMask = 1;
}

// Puts the item for the current match into the group; returns how many bytes it covers.
static int PutItem(int r, int len) {
    if (MatchLength > len) MatchLength = len;
    if (MatchLength <= 2) {
        MatchLength = 1;
        Group[0] |= (unsigned char)GroupMask;
        Group[GroupUsed++] = RingBuffer[r];
    } else {
        Group[GroupUsed++] = (unsigned char)MatchPosition;
        Group[GroupUsed++] = (unsigned char)(((MatchPosition >> 4) & 0xF0) | (MatchLength - 3));
    }
    GroupMask <<= 1;
    if (GroupMask == 0x100) WriteGroup();
    return MatchLength;
}

void LZEncode() {
    ResetTrees();
    // The part of the ring that input has not reached yet reads as zeros, whatever ran before, so
    // the output depends on the input alone.
    memset(RingBuffer, ' ', kRingStart);
    memset(RingBuffer + kRingStart, 0, sizeof RingBuffer - kRingStart);
    Group[0] = 0;
    GroupUsed = 1;
    GroupMask = 1;
    int s = 0, r = kRingStart, len = 0;
    for (int c; len < kMaxMatch && (c = ReadLZByte()) >= 0; ++len) RingBuffer[r + len] = (unsigned char)c;
    if (len == 0) return;
    for (int i = 1; i <= kMaxMatch; ++i) InsertNode(r - i);
    InsertNode(r);
    int64_t consumed = 0;
    while (len > 0) {
        PumpMessages(consumed);
        int covered = PutItem(r, len);
        consumed += covered;
        int i = 0;
        for (int c; i < covered && (c = ReadLZByte()) >= 0; ++i) {
            DeleteNode(s);
            RingBuffer[s] = (unsigned char)c;
            if (s < kMaxMatch - 1) RingBuffer[s + kRingSize] = (unsigned char)c;
            s = (s + 1) & (kRingSize - 1);
            r = (r + 1) & (kRingSize - 1);
            InsertNode(r);
        }
        // The input has ended: the lookahead shrinks by the bytes not read.
        for (; i < covered; ++i) {
            DeleteNode(s);
            s = (s + 1) & (kRingSize - 1);
            r = (r + 1) & (kRingSize - 1);
            if (--len > 0) InsertNode(r);
        }
    }
    if (GroupUsed > 1) WriteGroup();
}

static int64_t FileLength(FILE* file) {
    return fseeko(file, 0, SEEK_END) == 0 ? (int64_t)ftello(file) : -1;
}

int CompressFile(WindowHandle window, const char* sourcePath, const char* outputPath) {
    char text[2 * 1024 + 64];
    if (!OpenLZInput(sourcePath)) {
        snprintf(text, sizeof text, "Unable to open %s!", sourcePath);
        ShowMessageBox(window, text, "LZ Error", MB_OK | MB_ICONERROR);
        return LZ_SOURCE_FAILED;
    }
    if (!CreateLZOutput(outputPath)) {
        CloseLZInput();
        snprintf(text, sizeof text, "Unable to create %s!", outputPath);
        ShowMessageBox(window, text, "LZ Error", MB_OK | MB_ICONERROR);
        return LZ_OUTPUT_FAILED;
    }
    StartPumping();
    LZEncode();
    bool readFailed = LZInput.failed;
    int64_t sourceLength = FileLength(LZInput.file);
    int64_t outputLength = LZOutputLength();
    CloseLZInput();
    if (!CloseLZOutput() || readFailed) {
        RemoveLZOutputFile(outputPath);
        snprintf(text, sizeof text, readFailed ? "Unable to read %s!" : "Unable to write %s!",
                 readFailed ? sourcePath : outputPath);
        ShowMessageBox(window, text, "LZ Error", MB_OK | MB_ICONERROR);
        return readFailed ? LZ_SOURCE_FAILED : LZ_OUTPUT_FAILED;
    }
    return outputLength < sourceLength ? LZ_SMALLER : LZ_NOT_SMALLER;
}
