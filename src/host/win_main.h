// The program's entry routine: start-up, the main loop and the shutdown sequence.
#pragma once

// `commandLine` is the whole argument text after the program name. Returns the exit code.
int WinMain(const char* commandLine);

// The main loop: messages first, a frame whenever the queue is empty. Returns the exit code.
int RunMainLoop();

// The argument text as one string: argv[1..] joined by single spaces.
void JoinCommandLine(int argc, char** argv, char* out, int size);
