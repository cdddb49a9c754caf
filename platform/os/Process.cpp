#include "platform/os/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

extern char** environ;

// ---------------------------------------------------------------------------
// Command line

std::vector<String> SplitCommandLine(const String& cmd)
{
    std::vector<String> args;
    size_t i = 0, n = cmd.size();
    auto isBlank = [](Char c) { return c == L' ' || c == L'\t'; };
    while (i < n && isBlank(cmd[i])) ++i;
    if (i >= n) return args;

    // The program name: no backslash escapes.
    String prog;
    if (cmd[i] == L'"') {
        ++i;
        while (i < n && cmd[i] != L'"') prog += cmd[i++];
        if (i < n) ++i;   // closing quote
        // Anything glued to the closing quote still belongs to the name.
        while (i < n && !isBlank(cmd[i])) prog += cmd[i++];
    } else {
        while (i < n && !isBlank(cmd[i])) prog += cmd[i++];
    }
    args.push_back(prog);

    for (;;) {
        while (i < n && isBlank(cmd[i])) ++i;
        if (i >= n) break;
        String arg;
        bool quoted = false;
        while (i < n) {
            Char c = cmd[i];
            if (c == L'\\') {
                size_t bs = 0;
                while (i < n && cmd[i] == L'\\') { ++bs; ++i; }
                if (i < n && cmd[i] == L'"') {
                    arg.append(bs / 2, L'\\');
                    if (bs % 2 == 1) {
                        arg += L'"';
                        ++i;
                    }
                    // An even count leaves the quote to the quote rule below.
                } else {
                    arg.append(bs, L'\\');
                }
                continue;
            }
            if (c == L'"') {
                if (quoted && i + 1 < n && cmd[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            if (!quoted && isBlank(c)) break;
            arg += c;
            ++i;
        }
        args.push_back(arg);
    }
    return args;
}

String BuildCommandLine(const std::vector<String>& args)
{
    String line;
    for (size_t a = 0; a < args.size(); ++a) {
        const String& arg = args[a];
        if (a > 0) line += L' ';
        bool needQuotes = arg.empty() || arg.find_first_of(L" \t\"") != String::npos;
        if (a == 0) {
            line += needQuotes ? L"\"" + arg + L"\"" : arg;
            continue;
        }
        if (!needQuotes) {
            line += arg;
            continue;
        }
        line += L'"';
        size_t bs = 0;
        for (Char c : arg) {
            if (c == L'\\') {
                ++bs;
                continue;
            }
            if (c == L'"') {
                line.append(bs * 2 + 1, L'\\');
                line += L'"';
            } else {
                line.append(bs, L'\\');
                line += c;
            }
            bs = 0;
        }
        line.append(bs * 2, L'\\');   // before the closing quote
        line += L'"';
    }
    return line;
}

// ---------------------------------------------------------------------------
// Pipes

namespace {

void IgnoreSigpipeOnce()
{
    // A write to a pipe whose reader has gone must fail, not end the program.
    static std::once_flag once;
    std::call_once(once, [] { signal(SIGPIPE, SIG_IGN); });
}

class TPipeEnd : public TKernelObject {
public:
    TPipeEnd(int fd, bool reader) : FFd(fd), FReader(reader) {}
    ~TPipeEnd() override
    {
        if (FFd >= 0) close(FFd);
    }

    DWORD Wait(DWORD timeoutMs) override
    {
        pollfd p{FFd, short(FReader ? POLLIN : POLLOUT), 0};
        int t = timeoutMs == INFINITE ? -1 : int(std::min<DWORD>(timeoutMs, INT_MAX));
        int r;
        do r = poll(&p, 1, t); while (r < 0 && errno == EINTR);
        if (r < 0) return WAIT_FAILED;
        return r == 0 ? WAIT_TIMEOUT : WAIT_OBJECT_0;
    }

    bool Read(void* buf, DWORD len, DWORD& done) override
    {
        done = 0;
        if (!FReader) return false;
        if (len == 0) return true;
        ssize_t r;
        do r = ::read(FFd, buf, len); while (r < 0 && errno == EINTR);
        if (r <= 0) return false;   // end of data (all writers closed) or error
        done = DWORD(r);
        return true;
    }

    bool Write(const void* buf, DWORD len, DWORD& done) override
    {
        done = 0;
        if (FReader) return false;
        IgnoreSigpipeOnce();
        const char* p = static_cast<const char*>(buf);
        while (done < len) {
            ssize_t w = ::write(FFd, p + done, len - done);
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += DWORD(w);
        }
        return true;
    }

    bool Peek(DWORD& available) override
    {
        available = 0;
        if (!FReader) return false;
        int n = 0;
        if (ioctl(FFd, FIONREAD, &n) < 0) return false;
        if (n > 0) {
            available = DWORD(n);
            return true;
        }
        // Nothing buffered: a pipe whose writers are all gone reports failure.
        pollfd p{FFd, POLLIN, 0};
        if (poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR))) return false;
        return true;
    }

    int Descriptor() const override { return FFd; }

private:
    int FFd;
    bool FReader;
};

// ---------------------------------------------------------------------------
// Processes

struct TProcessState {
    pid_t Pid = -1;
    int PidFd = -1;
    std::mutex Lock;
    bool Reaped = false;
    DWORD ExitCode = 0;
    bool Terminated = false;
    DWORD TerminateCode = 0;

    ~TProcessState()
    {
        if (!TryReap()) {
            // Closing a handle never ends the process; collect its status in
            // the background so it does not stay a zombie.
            pid_t pid = Pid;
            std::thread([pid] {
                int st;
                while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {}
            }).detach();
        }
        if (PidFd >= 0) close(PidFd);
    }

    // Collects the exit status if the process has ended; true when it has.
    bool TryReap()
    {
        std::lock_guard<std::mutex> g(Lock);
        if (Reaped) return true;
        int st = 0;
        pid_t r;
        do r = waitpid(Pid, &st, WNOHANG); while (r < 0 && errno == EINTR);
        if (r == 0) return false;
        Reaped = true;
        if (r < 0) {
            ExitCode = 0;   // somebody else collected it; nothing more to know
        } else if (WIFEXITED(st)) {
            ExitCode = DWORD(WEXITSTATUS(st));
        } else if (WIFSIGNALED(st)) {
            ExitCode = Terminated ? TerminateCode : DWORD(128 + WTERMSIG(st));
        }
        return true;
    }

    DWORD Wait(DWORD timeoutMs)
    {
        using Clock = std::chrono::steady_clock;
        auto start = Clock::now();
        for (;;) {
            if (TryReap()) return WAIT_OBJECT_0;
            int remaining = -1;
            if (timeoutMs != INFINITE) {
                auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
                if (spent >= timeoutMs) return WAIT_TIMEOUT;
                remaining = int(std::min<long long>(timeoutMs - spent, INT_MAX));
            }
            if (PidFd >= 0) {
                pollfd p{PidFd, POLLIN, 0};
                int r = poll(&p, 1, remaining);
                if (r < 0 && errno != EINTR) return WAIT_FAILED;
            } else {
                int slice = remaining < 0 ? 5 : std::min(remaining, 5);
                std::this_thread::sleep_for(std::chrono::milliseconds(slice));
            }
        }
    }
};

class TProcessObject : public TKernelObject {
public:
    explicit TProcessObject(std::shared_ptr<TProcessState> s) : State(std::move(s)) {}
    DWORD Wait(DWORD timeoutMs) override { return State->Wait(timeoutMs); }
    std::shared_ptr<TProcessState> State;
};

TProcessObject* AsProcess(HANDLE h)
{
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
    return dynamic_cast<TProcessObject*>(h);
}

std::vector<std::string> ParseEnvironment(const void* block, bool wide)
{
    std::vector<std::string> env;
    if (wide) {
        const Char* p = static_cast<const Char*>(block);
        while (*p) {
            String s(p);
            env.push_back(UTF8Encode(s));
            p += s.size() + 1;
        }
    } else {
        const char* p = static_cast<const char*>(block);
        while (*p) {
            std::string s(p);
            env.push_back(s);
            p += s.size() + 1;
        }
    }
    return env;
}

}  // namespace

BOOL CreatePipe(HANDLE* readEnd, HANDLE* writeEnd, SECURITY_ATTRIBUTES*, DWORD size)
{
    if (!readEnd || !writeEnd) return 0;
    *readEnd = *writeEnd = nullptr;
    int fds[2];
    // Close-on-exec always: a child receives an end only as a standard
    // handle, or its reader would never see the end of the data.
    if (pipe2(fds, O_CLOEXEC) < 0) return 0;
    if (size > 0) fcntl(fds[1], F_SETPIPE_SZ, int(std::min<DWORD>(size, 1u << 20)));
    *readEnd = new TPipeEnd(fds[0], true);
    *writeEnd = new TPipeEnd(fds[1], false);
    return 1;
}

BOOL CreateProcess(const Char* applicationName, const Char* commandLine, SECURITY_ATTRIBUTES*,
                   SECURITY_ATTRIBUTES*, BOOL, DWORD creationFlags, const void* environment,
                   const Char* currentDirectory, STARTUPINFO* startupInfo,
                   PROCESS_INFORMATION* processInformation)
{
    if (processInformation) *processInformation = PROCESS_INFORMATION{};
    std::vector<String> wargs = SplitCommandLine(commandLine ? String(commandLine) : String());
    String program;
    if (applicationName && *applicationName) {
        program = applicationName;
        if (wargs.empty()) wargs.push_back(program);
    } else {
        if (wargs.empty() || wargs[0].empty()) return 0;
        program = wargs[0];
    }

    std::vector<std::string> args;
    for (const String& a : wargs) args.push_back(UTF8Encode(a));
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<std::string> envStore;
    std::vector<char*> envp;
    char** envArg = environ;
    if (environment) {
        envStore = ParseEnvironment(environment, (creationFlags & CREATE_UNICODE_ENVIRONMENT) != 0);
        for (std::string& e : envStore) envp.push_back(e.data());
        envp.push_back(nullptr);
        envArg = envp.data();
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    struct Cleanup {
        posix_spawn_file_actions_t* a;
        posix_spawnattr_t* b;
        ~Cleanup()
        {
            posix_spawn_file_actions_destroy(a);
            posix_spawnattr_destroy(b);
        }
    } cleanup{&actions, &attr};

    // The child starts with default signal handling and nothing blocked,
    // whatever this process ignores or masks.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    if (startupInfo && (startupInfo->dwFlags & STARTF_USESTDHANDLES)) {
        HANDLE std3[3] = {startupInfo->hStdInput, startupInfo->hStdOutput, startupInfo->hStdError};
        for (int target = 0; target < 3; ++target) {
            HANDLE h = std3[target];
            int fd = (h && h != INVALID_HANDLE_VALUE) ? h->Descriptor() : -1;
            if (fd >= 0)
                posix_spawn_file_actions_adddup2(&actions, fd, target);
            else
                posix_spawn_file_actions_addopen(&actions, target, "/dev/null",
                                                 target == 0 ? O_RDONLY : O_WRONLY, 0);
        }
    }
    std::string cwd;
    if (currentDirectory && *currentDirectory) {
        cwd = UTF8Encode(currentDirectory);
        posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    }

    std::string path = UTF8Encode(program);
    pid_t pid = -1;
    int rc;
    if (path.find('/') != std::string::npos)
        rc = posix_spawn(&pid, path.c_str(), &actions, &attr, argv.data(), envArg);
    else
        rc = posix_spawnp(&pid, path.c_str(), &actions, &attr, argv.data(), envArg);
    if (rc != 0) {
        errno = rc;
        return 0;
    }

    auto state = std::make_shared<TProcessState>();
    state->Pid = pid;
#ifdef SYS_pidfd_open
    state->PidFd = int(syscall(SYS_pidfd_open, pid, 0));
#endif
    if (processInformation) {
        processInformation->hProcess = new TProcessObject(state);
        processInformation->hThread = new TProcessObject(state);
        processInformation->dwProcessId = DWORD(pid);
        processInformation->dwThreadId = DWORD(pid);
    }
    return 1;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode)
{
    TProcessObject* p = AsProcess(process);
    if (!p) return 0;
    if (p->State->TryReap()) return 0;   // already ended
    {
        std::lock_guard<std::mutex> g(p->State->Lock);
        p->State->Terminated = true;
        p->State->TerminateCode = exitCode;
        if (kill(p->State->Pid, SIGKILL) < 0) return 0;
    }
    return 1;
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode)
{
    TProcessObject* p = AsProcess(process);
    if (!p || !exitCode) return 0;
    if (!p->State->TryReap()) {
        *exitCode = STILL_ACTIVE;
        return 1;
    }
    std::lock_guard<std::mutex> g(p->State->Lock);
    *exitCode = p->State->ExitCode;
    return 1;
}

DWORD GetProcessId(HANDLE process)
{
    TProcessObject* p = AsProcess(process);
    return p ? DWORD(p->State->Pid) : 0;
}
