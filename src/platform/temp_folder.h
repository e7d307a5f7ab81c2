// The private temporary folder where package entries are unpacked while loading.
#pragma once

// Creates (on first call) a directory of its own under $TMPDIR or /tmp with mode 0700 (on Windows
// under the user's %TEMP%) and returns its path; null when it cannot be made. A private folder means no other local user can plant a
// link where an entry is about to be written. It is removed with its contents at exit.
const char* PrivateTempFolder();

// Removes the folder and every file in it now; the next PrivateTempFolder() makes a new one.
void RemovePrivateTempFolder();
