// File operations whose meaning differs between systems.
#pragma once

// Renames `from` to `to`, replacing a file `to` that exists (as rename() does on POSIX systems;
// Windows' rename() refuses). False when it cannot.
bool MoveFileOver(const char* from, const char* to);

// Makes the folder `path` (readable by all, writable by its owner). False when it cannot, with
// errno set (EEXIST when something of that name is there already).
bool MakeFolder(const char* path);
