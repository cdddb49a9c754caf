#include "platform/os/Process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

struct SplitCase {
    const wchar_t* line;
    std::vector<String> args;
};

TEST(SplitCommandLine, SplitsAsTheWindowsCommandLine)
{
    const SplitCase cases[] = {
        {L"prog a b", {L"prog", L"a", L"b"}},
        {L"  prog\t a   b  ", {L"prog", L"a", L"b"}},
        {L"\"C:\\Program Files\\k.exe\" -i x", {L"C:\\Program Files\\k.exe", L"-i", L"x"}},
        // The program name takes no backslash escapes.
        {L"\"dir\\\\\" x", {L"dir\\\\", L"x"}},
        {L"p \"a b\" c", {L"p", L"a b", L"c"}},
        {L"p a\"b c\"d", {L"p", L"ab cd"}},
        {L"p \"\"", {L"p", L""}},
        {L"p a\\\\b", {L"p", L"a\\\\b"}},            // backslashes without quote: literal
        {L"p a\\\"b", {L"p", L"a\"b"}},              // \" -> literal quote
        {L"p a\\\\\"b c\"", {L"p", L"a\\b c"}},      // \\" -> \ and quote groups
        {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},        // \\\" -> \ and literal quote
        {L"p \"a\"\"b\"", {L"p", L"a\"b"}},          // "" inside quotes: literal quote
        {L"p \"C:\\dir\\\\\" next", {L"p", L"C:\\dir\\", L"next"}},
        {L"p \"unterminated arg", {L"p", L"unterminated arg"}},
        {L"", {}},
        {L"   ", {}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << "line: " << UTF8Encode(c.line);
}

// Reads a pipe to its end.
std::string Drain(HANDLE readEnd)
{
    std::string out;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buf, sizeof buf, &n) && n > 0) out.append(buf, n);
    return out;
}

struct Child {
    PROCESS_INFORMATION pi;
    HANDLE readEnd = nullptr;
    ~Child()
    {
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        CloseHandle(readEnd);
    }
};

// Starts a command line with its standard error (or output) on a pipe.
bool Start(Child& c, const String& line, bool toStdErr = true, const void* env = nullptr,
           const Char* dir = nullptr)
{
    SECURITY_ATTRIBUTES sa;
    sa.bInheritHandle = 1;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&c.readEnd, &writeEnd, &sa, 0)) return false;
    STARTUPINFO si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = 0;
    (toStdErr ? si.hStdError : si.hStdOutput) = writeEnd;
    BOOL ok = CreateProcess(nullptr, line.c_str(), nullptr, nullptr, 1,
                            CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | CREATE_NO_WINDOW, env, dir,
                            &si, &c.pi);
    CloseHandle(writeEnd);
    return ok != 0;
}

TEST(Process, ChildStandardErrorInChunksAndExitCode)
{
    Child c;
    ASSERT_TRUE(Start(c, L"/bin/sh -c \"printf 'Duration: 00:02:00.00,\\r' >&2; sleep 0.05; "
                         L"printf 'time=00:01:00.00\\r' >&2; echo out; exit 7\""));
    std::string err = Drain(c.readEnd);
    EXPECT_EQ(err, "Duration: 00:02:00.00,\rtime=00:01:00.00\r");
    // After the end of data the pipe keeps failing, never blocks.
    char b;
    DWORD n = 99;
    EXPECT_FALSE(ReadFile(c.readEnd, &b, 1, &n));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(WaitForSingleObject(c.pi.hProcess, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(c.pi.hThread, 0), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(c.pi.hProcess, &code));
    EXPECT_EQ(code, 7u);
}

TEST(Process, ArgumentsReachTheProgramAsSplit)
{
    Child c;
    ASSERT_TRUE(Start(c, L"/bin/sh -c \"printf '[%s]' \\\"$@\\\" >&2\" sh plain \"two words\" "
                         L"a\\\"q \"C:\\dir\\\\\" \"\""));
    EXPECT_EQ(Drain(c.readEnd), "[plain][two words][a\"q][C:\\dir\\][]");
    EXPECT_EQ(WaitForSingleObject(c.pi.hProcess, 5000), WAIT_OBJECT_0);
}

TEST(Process, EnvironmentBlockAndCurrentFolder)
{
    {
        Child c;
        const char empty[2] = {0, 0};
        ASSERT_TRUE(Start(c, L"/usr/bin/env", false, empty));
        EXPECT_EQ(Drain(c.readEnd), "");
    }
    {
        Child c;
        const wchar_t block[] = L"A=1\0B=two\0";
        PROCESS_INFORMATION& pi = c.pi;
        SECURITY_ATTRIBUTES sa;
        HANDLE w = nullptr;
        ASSERT_TRUE(CreatePipe(&c.readEnd, &w, &sa, 0));
        STARTUPINFO si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = w;
        ASSERT_TRUE(CreateProcess(L"/usr/bin/env", L"env", nullptr, nullptr, 1,
                                  CREATE_UNICODE_ENVIRONMENT, block, L"/", &si, &pi));
        CloseHandle(w);
        EXPECT_EQ(Drain(c.readEnd), "A=1\nB=two\n");
    }
    {
        Child c;
        ASSERT_TRUE(Start(c, L"/bin/pwd", false, nullptr, L"/usr"));
        EXPECT_EQ(Drain(c.readEnd), "/usr\n");
    }
}

TEST(Process, WaitTimesOutThenTerminateSetsTheExitCode)
{
    Child c;
    ASSERT_TRUE(Start(c, L"/bin/sleep 30"));
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(c.pi.hProcess, 100), WAIT_TIMEOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(90));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(c.pi.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    DWORD avail = 1;
    EXPECT_TRUE(PeekNamedPipe(c.readEnd, nullptr, 0, nullptr, &avail, nullptr));
    EXPECT_EQ(avail, 0u);

    ASSERT_TRUE(TerminateProcess(c.pi.hProcess, 0));
    EXPECT_EQ(WaitForSingleObject(c.pi.hProcess, INFINITE), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeProcess(c.pi.hProcess, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(TerminateProcess(c.pi.hProcess, 1));   // already ended
    // The child's end of the pipe went with it.
    EXPECT_EQ(Drain(c.readEnd), "");
}

TEST(Process, PeekAnswersBufferedBytes)
{
    Child c;
    ASSERT_TRUE(Start(c, L"/bin/sh -c \"printf abc >&2; sleep 0.3\""));
    // Bytes stay in the pipe after the child has gone, so waiting long on a
    // busy machine is harmless.
    DWORD avail = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (avail < 3 && std::chrono::steady_clock::now() < deadline) {
        ASSERT_TRUE(PeekNamedPipe(c.readEnd, nullptr, 0, nullptr, &avail, nullptr));
        if (avail < 3) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(avail, 3u);
    EXPECT_EQ(Drain(c.readEnd), "abc");
}

TEST(Process, StartFailures)
{
    PROCESS_INFORMATION pi;
    STARTUPINFO si;
    EXPECT_FALSE(CreateProcess(nullptr, L"/nonexistent/kestrix.exe -i x", nullptr, nullptr, 0, 0,
                               nullptr, nullptr, &si, &pi));
    EXPECT_EQ(pi.hProcess, nullptr);
    EXPECT_FALSE(CreateProcess(nullptr, L"", nullptr, nullptr, 0, 0, nullptr, nullptr, &si, &pi));
    // A file that is not executable.
    EXPECT_FALSE(CreateProcess(nullptr, L"/etc/hostname", nullptr, nullptr, 0, 0, nullptr, nullptr,
                               &si, &pi));
    DWORD code;
    EXPECT_FALSE(GetExitCodeProcess(nullptr, &code));
    EXPECT_FALSE(TerminateProcess(nullptr, 0));
}

}  // namespace

namespace {

TEST(BuildCommandLine, SplitsBackToTheSameArguments)
{
    const std::vector<std::vector<String>> cases = {
        {L"/usr/bin/xdg-open", L"http://example.test/a?b=c&d=e"},
        {L"/path with space/prog", L"two words", L"", L"tab\there"},
        {L"p", L"quote\"inside", L"ends with backslash\\", L"\\\\server\\share\\", L"back\\\"quote"},
        {L"p", L"['file:///tmp/a%20b']", L"plain\\path"},
    };
    for (const auto& args : cases) {
        String line = BuildCommandLine(args);
        EXPECT_EQ(SplitCommandLine(line), args) << UTF8Encode(line);
    }
}

}  // namespace
