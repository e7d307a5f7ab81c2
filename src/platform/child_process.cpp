#include "platform/child_process.h"

#include "platform/process.h"
#include "platform/signals.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#ifndef _WIN32
static pid_t Child = -1;
static int Writers[2] = {-1, -1};  // our ends of the pipes, non-blocking
static int Readers[2] = {-1, -1};  // the child's ends, until it has them

static void CloseDescriptor(int* fd) {
    if (*fd >= 0) close(*fd);
    *fd = -1;
}

static void ClosePipes() {
    for (int i = 0; i < 2; ++i) CloseDescriptor(&Writers[i]), CloseDescriptor(&Readers[i]);
}

// Both ends are moved above the descriptors the child is given (0 and 3), close on exec.
static bool OpenPipe(int input, std::string* error) {
    int raw[2];
    if (pipe2(raw, O_CLOEXEC) != 0) {
        *error = strerror(errno);
        return false;
    }
    Readers[input] = fcntl(raw[0], F_DUPFD_CLOEXEC, 10);
    Writers[input] = fcntl(raw[1], F_DUPFD_CLOEXEC, 10);
    if (Readers[input] < 0 || Writers[input] < 0) *error = strerror(errno);
    close(raw[0]);
    close(raw[1]);
    if (Readers[input] < 0 || Writers[input] < 0) return false;
    fcntl(Writers[input], F_SETPIPE_SZ, 1 << 20);  // fewer wake-ups per frame; the default is fine too
    fcntl(Writers[input], F_SETFL, O_NONBLOCK);
    return true;
}

bool OpenChildInputs(std::string* secondInput, std::string* error) {
    signal(SIGPIPE, SIG_IGN);  // a child gone shows as EPIPE on the next write instead
    *secondInput = "pipe:3";
    if (OpenPipe(0, error) && OpenPipe(1, error)) return true;
    ClosePipes();
    return false;
}

ChildStart StartChild(const std::vector<std::string>& arguments, std::string* error) {
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, Readers[0], 0);
    posix_spawn_file_actions_adddup2(&files, Readers[1], 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, reset;
    sigemptyset(&none);
    sigemptyset(&reset);
    sigaddset(&reset, SIGPIPE);
    sigaddset(&reset, SIGINT);
    sigaddset(&reset, SIGTERM);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &reset);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    const int failure = posix_spawnp(&Child, argv[0], &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    CloseDescriptor(&Readers[0]);
    CloseDescriptor(&Readers[1]);
    if (failure == 0) return ChildStart::Started;
    Child = -1;
    ClosePipes();
    *error = strerror(failure);
    return failure == ENOENT ? ChildStart::NotFound : ChildStart::Failed;
}

std::string HowToGetProgram(const std::string& program) { return "apt-get install " + program; }

long WriteChildInput(int input, const void* data, size_t bytes) {
    if (Writers[input] < 0) return -1;
    const ssize_t n = write(Writers[input], data, bytes);
    if (n >= 0) return (long)n;
    return errno == EAGAIN || errno == EINTR ? 0 : -1;
}

int WaitForChildInput(unsigned inputs, int waitMs) {
    pollfd fds[2];
    int count = 0, slots[2] = {-1, -1};
    for (int i = 0; i < 2; ++i)
        if (inputs & (1u << i) && Writers[i] >= 0) fds[slots[i] = count++] = {Writers[i], POLLOUT, 0};
    const int ready = poll(fds, count, waitMs);
    if (ready < 0) return errno == EINTR ? kChildWaitInterrupted : kChildWaitFailed;
    int result = 0;
    for (int i = 0; i < 2; ++i)
        if (slots[i] >= 0 && fds[slots[i]].revents) result |= 1 << i;
    return result;
}

void CloseChildInput(int input) { CloseDescriptor(&Writers[input]); }

bool WaitForChild(int waitMs, ChildExit* exit) {
    int status = 0;
    *exit = {};
    if (Child < 0) return true;
    pid_t done = waitpid(Child, &status, waitMs < 0 ? 0 : WNOHANG);
    if (done == 0 && waitMs > 0) {
        poll(nullptr, 0, waitMs);  // a signal cuts it short
        done = waitpid(Child, &status, WNOHANG);
    }
    if (done == 0 || (done < 0 && errno == EINTR)) return false;
    // (A child that cannot be waited for is taken as one that ended well: nothing to wait for.)
    if (done == Child && WIFSIGNALED(status)) *exit = {true, WTERMSIG(status)};
    else if (done == Child && WIFEXITED(status)) exit->code = WEXITSTATUS(status);
    Child = -1;
    ClosePipes();
    return true;
}

void EndChild() {
    if (Child > 0) kill(-Child, SIGKILL);
}
#else
// Both inputs are named pipes of which we hold the server end, written with overlapped I/O so
// that no write waits: each input has one operation under way at most (the child connecting, or
// a write of the input's own copy of the bytes), and counts as ready to take more once it is
// over. Input 0's client end is opened here and becomes the child's standard input.
struct PipeInput {
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE event = nullptr;
    OVERLAPPED overlapped = {};
    std::vector<char> bytes;  // what the write under way writes
    bool busy = false;        // an operation is under way
    bool broken = false;      // the child has gone or closed its end
    bool closing = false;     // to be closed once the write under way is over
};

static const DWORD kPipeBytes = 1 << 20;
static PipeInput Inputs[2];
static HANDLE ChildStdin = INVALID_HANDLE_VALUE;
static HANDLE Process = nullptr;
static HANDLE Job = nullptr;
static double EndedSeconds = 0;

static std::string LastErrorText() {
    char text[256] = "";
    const DWORD code = GetLastError();
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                        sizeof text, nullptr))
        snprintf(text, sizeof text, "error %lu", (unsigned long)code);
    std::string result = text;
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
        result.pop_back();
    return result;
}

static void CloseHandleOf(HANDLE* handle, HANDLE none) {
    if (*handle != none) CloseHandle(*handle);
    *handle = none;
}

// Gives the operation under way up (cancels it and waits until it is over).
static void Abandon(PipeInput& in) {
    DWORD done;
    if (!in.busy) return;
    CancelIoEx(in.pipe, &in.overlapped);
    GetOverlappedResult(in.pipe, &in.overlapped, &done, TRUE);
    in.busy = false;
    in.broken = true;
}

static void CloseInput(PipeInput& in) {
    Abandon(in);
    CloseHandleOf(&in.pipe, INVALID_HANDLE_VALUE);
    CloseHandleOf(&in.event, nullptr);
    in = PipeInput();
}

// Takes note of an operation that is over; a closing input whose last write is over is closed.
static void Settle(PipeInput& in) {
    DWORD done;
    if (in.busy && GetOverlappedResult(in.pipe, &in.overlapped, &done, FALSE)) in.busy = false;
    else if (in.busy && GetLastError() != ERROR_IO_INCOMPLETE) in.busy = false, in.broken = true;
    if (in.closing && !in.busy) CloseInput(in);
}

static void ClosePipes() {
    for (PipeInput& in : Inputs) CloseInput(in);
    CloseHandleOf(&ChildStdin, INVALID_HANDLE_VALUE);
}

static bool OpenInput(PipeInput& in, const std::string& name, std::string* error) {
    in.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // One instance only, and of a name no other program has taken: no one else connects to it.
    const DWORD access = PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE;
    const DWORD mode = PIPE_TYPE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS;
    in.pipe = CreateNamedPipeA(name.c_str(), access, mode, 1, kPipeBytes, 0, 0, nullptr);
    if (!in.event || in.pipe == INVALID_HANDLE_VALUE) {
        *error = LastErrorText();
        return false;
    }
    in.overlapped.hEvent = in.event;
    if (ConnectNamedPipe(in.pipe, &in.overlapped)) return true;
    const DWORD state = GetLastError();
    in.busy = state == ERROR_IO_PENDING;
    if (in.busy || state == ERROR_PIPE_CONNECTED) return true;  // (connected: the client is there already)
    *error = LastErrorText();
    return false;
}

bool OpenChildInputs(std::string* secondInput, std::string* error) {
    static unsigned opened = 0;
    std::string names[2];
    for (int i = 0; i < 2; ++i) {
        names[i] = "\\\\.\\pipe\\kamora-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(opened++) +
                   "-" + std::to_string(GetTickCount64() % 1000000);
        if (!OpenInput(Inputs[i], names[i], error)) {
            ClosePipes();
            return false;
        }
    }
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    ChildStdin = CreateFileA(names[0].c_str(), GENERIC_READ, 0, &inherited, OPEN_EXISTING, 0, nullptr);
    if (ChildStdin == INVALID_HANDLE_VALUE) {
        *error = LastErrorText();
        ClosePipes();
        return false;
    }
    *secondInput = names[1];
    return true;
}

// One argument as the child's C runtime splits its command line: quoted when it holds a space or
// a quote, with the backslashes before a quote doubled.
static std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    return quoted.append(backslashes * 2, '\\') + "\"";
}

static HANDLE InheritedCopy(DWORD which) {
    HANDLE copy = nullptr, self = GetCurrentProcess(), original = GetStdHandle(which);
    if (!original || original == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(self, original, self, &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

// A job that ends the child with the toolbox: when its last handle (ours) closes, however we end.
static void PutInJob(HANDLE process) {
    Job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (Job && SetInformationJobObject(Job, JobObjectExtendedLimitInformation, &limits, sizeof limits) &&
        AssignProcessToJobObject(Job, process))
        return;
    CloseHandleOf(&Job, nullptr);  // (then EndChild ends the child alone)
}

ChildStart StartChild(const std::vector<std::string>& arguments, std::string* error) {
    char program[MAX_PATH];
    const char* path = getenv("PATH");
    const DWORD length = path ? SearchPathA(path, arguments[0].c_str(), ".exe", sizeof program, program, nullptr) : 0;
    if (length == 0 || length >= sizeof program) {
        *error = "no " + arguments[0] + ".exe on PATH";
        ClosePipes();
        return ChildStart::NotFound;
    }
    std::string line;
    for (const std::string& a : arguments) line.append(line.empty() ? "" : " ").append(Quoted(a));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ChildStdin;
    startup.hStdOutput = InheritedCopy(STD_OUTPUT_HANDLE);
    startup.hStdError = InheritedCopy(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    // Its own process group: a Ctrl-C in the console reaches only the toolbox.
    const BOOL ok = CreateProcessA(program, line.data(), nullptr, nullptr, TRUE,
                                   CREATE_SUSPENDED | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup, &started);
    if (!ok) *error = LastErrorText();
    CloseHandleOf(&startup.hStdOutput, nullptr);
    CloseHandleOf(&startup.hStdError, nullptr);
    CloseHandleOf(&ChildStdin, INVALID_HANDLE_VALUE);
    if (!ok) {
        ClosePipes();
        return ChildStart::Failed;
    }
    PutInJob(started.hProcess);
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    Process = started.hProcess;
    return ChildStart::Started;
}

std::string HowToGetProgram(const std::string& program) { return program + ".exe must be on PATH"; }

long WriteChildInput(int input, const void* data, size_t bytes) {
    PipeInput& in = Inputs[input];
    if (in.pipe == INVALID_HANDLE_VALUE || in.closing) return -1;
    Settle(in);
    if (in.broken) return -1;
    if (in.busy) return 0;
    in.bytes.assign((const char*)data, (const char*)data + (bytes < kPipeBytes ? bytes : kPipeBytes));
    in.overlapped = {};
    in.overlapped.hEvent = in.event;
    if (!WriteFile(in.pipe, in.bytes.data(), (DWORD)in.bytes.size(), nullptr, &in.overlapped)) {
        if (GetLastError() != ERROR_IO_PENDING) {
            in.broken = true;
            return -1;
        }
        in.busy = true;
    }
    return (long)in.bytes.size();
}

// Once the child has ended, what is still under way never ends: a pipe it never opened, say.
static void AbandonIfChildEnded() {
    if (Process && WaitForSingleObject(Process, 0) == WAIT_OBJECT_0)
        for (PipeInput& in : Inputs) Abandon(in);
}

int WaitForChildInput(unsigned inputs, int waitMs) {
    const int signals = TerminationSignalCount();
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        unsigned ready = 0;
        HANDLE events[3];
        DWORD count = 0;
        if (Process) events[count++] = Process;
        for (int i = 0; i < 2; ++i) {
            Settle(Inputs[i]);
            if (inputs & (1u << i) && !Inputs[i].busy) ready |= 1u << i;
            if (Inputs[i].busy) events[count++] = Inputs[i].event;
        }
        if (ready) return (int)ready;
        if (TerminationSignalCount() != signals) return kChildWaitInterrupted;
        const ULONGLONG waited = GetTickCount64() - start;
        if (waitMs >= 0 && waited >= (ULONGLONG)waitMs) return 0;
        // In slices, so that a Ctrl-C (which comes on a thread of its own) is seen soon.
        const DWORD slice = waitMs < 0 || waitMs - waited > 100 ? 100 : (DWORD)(waitMs - waited);
        if (count == 0 || WaitForMultipleObjects(count, events, FALSE, slice) == WAIT_FAILED) return kChildWaitFailed;
        AbandonIfChildEnded();
    }
}

void CloseChildInput(int input) {
    PipeInput& in = Inputs[input];
    if (in.pipe == INVALID_HANDLE_VALUE) return;
    in.closing = true;  // the child still reads what was written before the end
    Settle(in);
}

bool WaitForChild(int waitMs, ChildExit* exit) {
    const ULONGLONG start = GetTickCount64();
    DWORD state = WAIT_OBJECT_0;
    while (Process) {
        for (PipeInput& in : Inputs) Settle(in);  // a closing input ends once its last write is over
        const ULONGLONG waited = GetTickCount64() - start;
        const DWORD slice = waitMs < 0 || waitMs - waited > 100 ? 100 : (DWORD)(waitMs - waited);
        state = WaitForSingleObject(Process, slice);
        if (state != WAIT_TIMEOUT || (waitMs >= 0 && GetTickCount64() - start >= (ULONGLONG)waitMs)) break;
    }
    if (state == WAIT_TIMEOUT) return false;
    *exit = {};
    if (Process) {
        DWORD code = 0;
        GetExitCodeProcess(Process, &code);
        exit->code = (int)code;
        FILETIME created, ended, kernel, user;
        if (GetProcessTimes(Process, &created, &ended, &kernel, &user))
            for (const FILETIME& t : {kernel, user})
                EndedSeconds += (((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 1e7;
    }
    CloseHandleOf(&Process, nullptr);
    CloseHandleOf(&Job, nullptr);
    ClosePipes();
    return true;
}

void EndChild() {
    if (Job) TerminateJobObject(Job, 1);
    else if (Process) TerminateProcess(Process, 1);
}

// (Declared in platform/process.h: on Windows only this module starts children.)
double EndedChildrenSeconds() { return EndedSeconds; }
#endif
