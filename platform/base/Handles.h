// Kernel-object handles: events, processes, pipes and threads are waited on
// and closed through one HANDLE type, as the code built on them expects.
#pragma once

#include "platform/base/Types.h"

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000u;
constexpr DWORD WAIT_ABANDONED = 0x00000080u;
constexpr DWORD WAIT_TIMEOUT = 0x00000102u;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// System error numbers that the raw calls answer (registry, files, ...).
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG NO_ERROR = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_PATH_NOT_FOUND = 3;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr LONG ERROR_NO_MORE_FILES = 18;
constexpr LONG ERROR_WRITE_FAULT = 29;
constexpr LONG ERROR_READ_FAULT = 30;
constexpr LONG ERROR_FILE_EXISTS = 80;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_ALREADY_EXISTS = 183;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;
constexpr LONG ERROR_KEY_DELETED = 1018;

class TKernelObject {
public:
    virtual ~TKernelObject() = default;
    // Waits until the object is signalled or the time-out (ms, INFINITE)
    // passes; answers WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
    virtual DWORD Wait(DWORD timeoutMs) = 0;
    // Byte transfer for pipes and files; objects without data answer false.
    virtual bool Read(void* buf, DWORD len, DWORD& done) { done = 0; return false; }
    virtual bool Write(const void* buf, DWORD len, DWORD& done) { done = 0; return false; }
    // Bytes that can be read now without blocking (pipes).
    virtual bool Peek(DWORD& available) { available = 0; return false; }
    // The file descriptor behind the object, or -1: lets a pipe or file end
    // become a child process's standard handle.
    virtual int Descriptor() const { return -1; }
};

using HANDLE = TKernelObject*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(intptr_t(-1));

DWORD WaitForSingleObject(HANDLE h, DWORD timeoutMs);
BOOL CloseHandle(HANDLE h);
BOOL ReadFile(HANDLE h, void* buf, DWORD len, DWORD* done, void* overlapped = nullptr);
BOOL WriteFile(HANDLE h, const void* buf, DWORD len, DWORD* done, void* overlapped = nullptr);
BOOL PeekNamedPipe(HANDLE h, void* buf, DWORD len, DWORD* read, DWORD* avail, DWORD* left);
