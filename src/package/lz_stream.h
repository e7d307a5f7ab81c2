// The input and output streams of the LZ coder and the entry copy: plain files read and
// written in 64 KiB blocks, so the byte loops above them cost no library call per byte.
#pragma once

#include <cstdint>
#include <cstdio>

enum { kLZBlockSize = 64 * 1024 };

struct LZStream {
    FILE* file;
    unsigned char* block;  // kLZBlockSize bytes
    int pos;               // next byte in the block
    int len;               // bytes held (input) or used (output)
    int64_t done;          // bytes of the file before this block
    bool failed;           // a read error (input) or a write error (output)
    int64_t end;           // input only: reading stops at this file offset (-1: the file's end)
};

extern LZStream LZInput;
extern LZStream LZOutput;

// Opening hands a stream its file; closing releases it (and the output flushes first).
// CloseLZOutput reports false when any byte could not be written.
bool OpenLZInput(const char* path);
bool CreateLZOutput(const char* path);
void AttachLZInput(FILE* file);   // for tests and tools that bring their own file
void AttachLZOutput(FILE* file);
void CloseLZInput();
bool CloseLZOutput();
// Removes a half-written output file; anything but a plain file (a device, say) stays.
void RemoveLZOutputFile(const char* path);
// Moves the input to an absolute offset; false when the offset is out of reach.
bool SeekLZInput(int64_t offset);
// Ends the input at file offset `end`, as if the file stopped there (-1: no limit): an entry's
// data is read up to its own end, never into the records behind it.
void LimitLZInput(int64_t end);

int RefillLZInput();  // slow path of ReadLZByte
void FlushLZOutput();  // slow path of WriteLZByte

// The next input byte, or -1 at the end of the input (or on a read error).
inline int ReadLZByte() {
    if (LZInput.pos < LZInput.len) return LZInput.block[LZInput.pos++];
    return RefillLZInput();
}

inline void WriteLZByte(int byte) {
    if (LZOutput.len == kLZBlockSize) FlushLZOutput();
    LZOutput.block[LZOutput.len++] = (unsigned char)byte;
}

// Bytes written so far (the output's file position).
inline int64_t LZOutputLength() { return LZOutput.done + LZOutput.len; }
// Bytes read so far (the input's file position).
inline int64_t LZInputPosition() { return LZInput.done + LZInput.pos; }
