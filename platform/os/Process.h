// Child processes and anonymous pipes. A command line is split into an
// argument vector the way the Windows command line splits it, and the program
// is started directly (posix_spawn), never through a shell.
#pragma once

#include <vector>

#include "platform/base/Handles.h"
#include "platform/base/Types.h"

constexpr DWORD STILL_ACTIVE = 259;

// Creation flags: accepted; only the environment encoding flag has a meaning
// here (there are no consoles or windows to create or hide).
constexpr DWORD DEBUG_PROCESS = 0x00000001;
constexpr DWORD CREATE_SUSPENDED = 0x00000004;
constexpr DWORD DETACHED_PROCESS = 0x00000008;
constexpr DWORD CREATE_NEW_CONSOLE = 0x00000010;
constexpr DWORD NORMAL_PRIORITY_CLASS = 0x00000020;
constexpr DWORD IDLE_PRIORITY_CLASS = 0x00000040;
constexpr DWORD HIGH_PRIORITY_CLASS = 0x00000080;
constexpr DWORD CREATE_NEW_PROCESS_GROUP = 0x00000200;
constexpr DWORD CREATE_UNICODE_ENVIRONMENT = 0x00000400;
constexpr DWORD CREATE_NO_WINDOW = 0x08000000;

// Start-up information flags.
constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD STARTF_USESIZE = 0x00000002;
constexpr DWORD STARTF_USEPOSITION = 0x00000004;
constexpr DWORD STARTF_USESTDHANDLES = 0x00000100;

struct SECURITY_ATTRIBUTES {
    DWORD nLength = sizeof(SECURITY_ATTRIBUTES);
    void* lpSecurityDescriptor = nullptr;
    BOOL bInheritHandle = 0;
};
using TSecurityAttributes = SECURITY_ATTRIBUTES;

struct STARTUPINFO {
    DWORD cb = sizeof(STARTUPINFO);
    const Char* lpDesktop = nullptr;
    const Char* lpTitle = nullptr;
    DWORD dwX = 0, dwY = 0, dwXSize = 0, dwYSize = 0;
    DWORD dwFlags = 0;
    Word wShowWindow = 0;
    // With STARTF_USESTDHANDLES: the child's standard handles; a null handle
    // gives the child nothing there (/dev/null). Without the flag the child
    // shares this process's standard handles.
    HANDLE hStdInput = nullptr;
    HANDLE hStdOutput = nullptr;
    HANDLE hStdError = nullptr;
};
using TStartupInfo = STARTUPINFO;

struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;   // signalled with the process; close it too
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};
using TProcessInformation = PROCESS_INFORMATION;

// Splits a command line into arguments: blanks and tabs separate them; the
// program name (first argument) ends at the next quote when it starts with
// one, else at the first blank; in the later arguments double quotes group,
// 2n backslashes before a quote give n backslashes and the quote groups,
// 2n+1 give n backslashes and a literal quote, other backslashes are literal,
// and "" inside a quoted part is a literal quote.
std::vector<String> SplitCommandLine(const String& commandLine);
// The inverse: a command line that SplitCommandLine turns back into args.
// The program name (first) is quoted when it holds blanks; it cannot hold
// double quotes.
String BuildCommandLine(const std::vector<String>& args);

// An anonymous pipe. Both ends are HANDLEs of Handles.h: ReadFile blocks until
// data arrives or every write end is closed (then it fails: end of data);
// PeekNamedPipe answers the bytes available now. The ends are never passed on
// to a child except as its standard handles.
BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES* attributes, DWORD size);

// Starts a program. With applicationName null, the program is the first
// argument of commandLine (a path, or a bare name looked up in PATH).
// environment: null inherits this process's environment; otherwise a block of
// "NAME=value" texts each ended by a zero, the block ended by an extra zero
// (8-bit characters, or wide ones with CREATE_UNICODE_ENVIRONMENT); an empty
// block gives the child an empty environment. currentDirectory null keeps
// this process's folder. Answers FALSE when the program cannot be started.
BOOL CreateProcess(const Char* applicationName, const Char* commandLine,
                   SECURITY_ATTRIBUTES* processAttributes, SECURITY_ATTRIBUTES* threadAttributes,
                   BOOL inheritHandles, DWORD creationFlags, const void* environment,
                   const Char* currentDirectory, STARTUPINFO* startupInfo,
                   PROCESS_INFORMATION* processInformation);

// Ends the process at once; its exit code becomes exitCode.
BOOL TerminateProcess(HANDLE process, UINT exitCode);

// STILL_ACTIVE while the process runs; then its exit code (128 + signal number
// for a process killed by a signal other than through TerminateProcess).
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);

DWORD GetProcessId(HANDLE process);
