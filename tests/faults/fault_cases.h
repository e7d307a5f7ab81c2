// What every case of the fault matrix checks, and the packages the cases damage.
#pragma once

#include "run_command.h"
#include "show_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

extern const char kPreloadFailed[];  // the box after a failed preload
extern const char kLoadingFailed[];  // the box after a failed load behind the loading picture

// Ended on its own within the run's limit, exit code 0, every message printed, no sanitizer
// report, nothing left in the temporary folder.
void ExpectCleanEnd(const ShowRun& run, const ShowOutcome& outcome, const std::vector<std::string>& messages);

// Writes an entry file for a case's package (beside its folder, named as the show asks for it).
std::string EntryFile(const ShowRun& run, const std::string& name, const std::string& bytes);
// The case's KaMora.ppk.
std::string Package(const ShowRun& run);
// Bytes that are no picture, scene or music (and compress well).
std::string Garbage(size_t size);
// A package the preload accepts: the loading picture, then a stand-in for the music.
void WriteSmallPackage(const ShowRun& run, bool store = false);
void CutFile(const std::string& path, long size);

// The whole show, from build/KaMora.ppk.
std::string BuiltPackage();
// A case folder whose KaMora.ppk is the build's own.
ShowRun WholeShowRun(const std::string& name);

#define SKIP_WITHOUT_WHOLE_PACKAGE()                                                            \
    if (EntryDataOffset(BuiltPackage(), "music.mp3") < 0 || EntryDataOffset(BuiltPackage(), "ese.raw") < 0) \
        GTEST_SKIP() << "build/KaMora.ppk does not hold the show's entries "                    \
                        "(the build was configured with -DKAMORA_CONTENT=OFF)"
