// One child program at a time, fed through two pipes: its standard input (input 0) and a second
// input (input 1) that it opens by the name it is given in its arguments. Its standard output and
// error are ours. It runs apart from the terminal's Ctrl-C (a process group of its own), so that
// the toolbox decides when it ends; on Windows it also runs in a job that ends it should the
// toolbox end first.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Opens the pipes the next child reads and sets `*secondInput` to how its arguments name input 1,
// in the "pipe:N" form for an inherited descriptor (here "pipe:3") or as a path (on Windows a
// named pipe, "\\.\pipe\..."). False, with `*error` set, when they cannot be opened.
bool OpenChildInputs(std::string* secondInput, std::string* error);

enum class ChildStart { Started, NotFound, Failed };
// Starts `arguments[0]`, found on PATH (on Windows as arguments[0] + ".exe"), with the arguments
// as given (no shell), reading the pipes OpenChildInputs opened. Not Started: `*error` says why.
ChildStart StartChild(const std::vector<std::string>& arguments, std::string* error);

// What a message tells someone who lacks `program`: "apt-get install ffmpeg" here, on Windows
// that ffmpeg.exe must be on PATH.
std::string HowToGetProgram(const std::string& program);

// Hands input `input` what it takes now without waiting: the bytes taken (0: none now), -1 once
// the child takes no more (it has ended or closed that input).
long WriteChildInput(int input, const void* data, size_t bytes);

const int kChildWaitInterrupted = -1;  // a termination signal came (platform/signals.h)
const int kChildWaitFailed = -2;
// Waits until one of the inputs in `inputs` (bit 0: input 0, bit 1: input 1) can take more, or
// `waitMs` pass (-1: no bound). Returns the inputs that can (a bit mask; a write to one may still
// find the child gone), 0 when the time ran out, or kChildWaitInterrupted, kChildWaitFailed.
int WaitForChildInput(unsigned inputs, int waitMs);

// Ends input `input`: the child reads what was written, then the input's end.
void CloseChildInput(int input);

struct ChildExit {
    bool signalled = false;  // ended by a signal (not on Windows)
    int code = 0;            // its exit code, or the signal's number
};
// True once the child has ended, waiting for that at most `waitMs` (-1: no bound; a termination
// signal may cut a wait short), with how it ended in `*exit`; the pipes are closed then.
bool WaitForChild(int waitMs, ChildExit* exit);

// Ends the child at once, with whatever it started (its process group, on Windows its job).
void EndChild();
