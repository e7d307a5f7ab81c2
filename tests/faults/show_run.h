// Runs build/kamora -nodialog as a viewer would, in a folder of its own with a private TMPDIR,
// and watches it: a signal at a set moment, a hard limit on its running time.
#pragma once

#include <string>
#include <vector>

struct ShowRun {
    std::string program;               // the show to run; build/kamora when empty
    std::string folder;                // the working folder (created empty)
    std::string tempDir;               // TMPDIR; folder/tmp unless set
    std::vector<std::string> env;      // extra NAME=value settings
    std::string arguments = "-nodialog";
    int signal = 0;                    // sent after signalDelay seconds, when not 0
    double signalDelay = 0;
    bool (*signalWhen)(const ShowRun&) = nullptr;  // when set, the signal waits for this instead
    std::string poke;                  // kamora-x-poke's action ("escape [HOLD]", "close"), when set
    double pokeDelay = 0;              // ... run this many seconds after the start
    double vanishDelay = 0;            // tempDir is removed this many seconds in, when not 0
    std::string command;               // a shell command run commandDelay seconds in, when set
    double commandDelay = 0;
    bool yields = false;               // runs only on processor time nothing else wants (SCHED_IDLE):
                                       // a show beside a timed test
    double limitSeconds = 60;          // killed (and reported as hung) after this
};

struct ShowOutcome {
    int exitCode = -1;   // 128 + signal number when a signal ended it
    bool hung = false;   // the limit was reached
    bool signalled = false;  // the run's signal was sent
    double seconds = 0;
    std::string out;     // standard output and error together
};

// A fresh empty folder with an empty tmp/ inside; the run's TMPDIR defaults to that tmp/.
ShowRun MakeShowRun(const std::string& name);
ShowOutcome RunShow(const ShowRun& run);

// SDL's disk driver writes what the show plays to the run's folder + ".audio" (removed with the
// run): silence until the music starts with the first demo frame. As a run's signalWhen,
// MusicPlaying is true once anything else has been written there.
void PlayIntoFile(ShowRun* run);
bool MusicPlaying(const ShowRun& run);

// Names left in a folder (sorted, one per line), or "" when it is empty or gone.
std::string FolderListing(const std::string& folder);
// The first sanitizer report in `out`, or "".
std::string SanitizerReport(const std::string& out);

// Test packages, built with kamora-tool pack from files in `folder`.
void WriteFile(const std::string& path, const std::string& bytes);
// A small valid 24-bit TGA picture.
std::string SmallTga();
// Packs `entries` (file paths) into `package`; --store keeps them uncompressed.
bool PackEntries(const std::string& package, const std::vector<std::string>& entries, bool store = false);
// The byte offset of entry `name`'s data inside `package`, or -1.
long EntryDataOffset(const std::string& package, const std::string& name);
