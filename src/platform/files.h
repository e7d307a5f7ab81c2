// File operations whose meaning differs between systems.
#pragma once

// Renames `from` to `to`, replacing a file `to` that exists (as rename() does on POSIX systems;
// Windows' rename() refuses). False when it cannot.
bool MoveFileOver(const char* from, const char* to);

// Makes the folder `path` (readable by all, writable by its owner). False when it cannot, with
// errno set (EEXIST when something of that name is there already).
bool MakeFolder(const char* path);

// The file name in `path`: what follows its last folder separator ('/', on Windows also '\\'),
// or all of it.
const char* PathFileName(const char* path);

// What changes while a file is written: its size and its last write time (in the system's own
// unit). Read through a handle, since a folder's listing may lag behind on Windows.
struct FileMark {
    long long size = -1;
    long long changed = 0;
};
// False when the file cannot be read.
bool ReadFileMark(const char* path, FileMark* mark);
