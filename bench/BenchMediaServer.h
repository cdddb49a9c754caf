// Starts tools/mediaserver (built next to the benchmarks) for a benchmark:
// a body of the given size sent with sendfile(2) on 127.0.0.1, so that the
// server is not what limits a download. It stops when the object goes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

class TMediaServer {
public:
    explicit TMediaServer(long long size)
    {
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
        const std::string program = (exe.parent_path().parent_path() / "tools/mediaserver/mediaserver").string();
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return;
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, in[0], 0);
        posix_spawn_file_actions_adddup2(&fa, out[1], 1);
        posix_spawn_file_actions_addclose(&fa, in[1]);
        posix_spawn_file_actions_addclose(&fa, out[0]);
        const std::string sizeText = std::to_string(size);
        const char* argv[] = {program.c_str(), "--size", sizeText.c_str(), nullptr};
        if (posix_spawn(&FPid, program.c_str(), &fa, nullptr, const_cast<char**>(argv), environ) != 0)
            FPid = 0;
        posix_spawn_file_actions_destroy(&fa);
        close(in[0]);
        close(out[1]);
        FStdin = in[1];
        std::string text;
        char c;
        while (text.find("ready\n") == std::string::npos && read(out[0], &c, 1) == 1)
            text += c;
        close(out[0]);
        const size_t p = text.find("http ");
        if (p != std::string::npos)
            FPort = atoi(text.c_str() + p + 5);
    }
    ~TMediaServer()
    {
        if (FStdin >= 0)
            close(FStdin);
        if (FPid > 0)
            waitpid(FPid, nullptr, 0);
    }
    int Port() const { return FPort; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(FPort) + "/media/1.flv"; }

private:
    pid_t FPid = 0;
    int FStdin = -1;
    int FPort = 0;
};

