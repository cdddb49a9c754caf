#include "platform/base/Handles.h"

static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

DWORD WaitForSingleObject(HANDLE h, DWORD timeoutMs)
{
    return Valid(h) ? h->Wait(timeoutMs) : WAIT_FAILED;
}

BOOL CloseHandle(HANDLE h)
{
    if (!Valid(h)) return 0;
    delete h;
    return 1;
}

BOOL ReadFile(HANDLE h, void* buf, DWORD len, DWORD* done, void*)
{
    DWORD n = 0;
    bool ok = Valid(h) && h->Read(buf, len, n);
    if (done) *done = n;
    return ok ? 1 : 0;
}

BOOL WriteFile(HANDLE h, const void* buf, DWORD len, DWORD* done, void*)
{
    DWORD n = 0;
    bool ok = Valid(h) && h->Write(buf, len, n);
    if (done) *done = n;
    return ok ? 1 : 0;
}

BOOL PeekNamedPipe(HANDLE h, void* buf, DWORD len, DWORD* read, DWORD* avail, DWORD* left)
{
    DWORD a = 0;
    bool ok = Valid(h) && h->Peek(a);
    if (read) *read = 0;
    if (avail) *avail = a;
    if (left) *left = 0;
    return ok ? 1 : 0;
}
