// The converter stand-in, run as a real process the way the download thread
// runs the converter: by its path in the application's folder, with an empty
// environment and its error stream on a pipe.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempFolder.h"
#include "app/DownloadJob.h"

namespace {

struct TRunOutput {
    int exitCode = -1;
    std::string stderrText;
    std::vector<size_t> readSizes;
};

TRunOutput RunKestrix(const std::vector<String>& args)
{
    TRunOutput out;
    std::vector<std::string> utf8;
    for (const String& a : args)
        utf8.push_back(UTF8Encode(a));
    std::vector<char*> argv;
    for (auto& a : utf8)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    char* envp[] = {nullptr};

    int fds[2];
    if (::pipe(fds) != 0)
        return out;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 2);
    posix_spawn_file_actions_addclose(&fa, fds[0]);
    posix_spawn_file_actions_addclose(&fa, fds[1]);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), envp);
    posix_spawn_file_actions_destroy(&fa);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        return out;
    }
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.stderrText.append(buf, static_cast<size_t>(n));
        out.readSizes.push_back(static_cast<size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    out.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

String Converter()
{
    return ConverterPath(UTF8ToString(std::string(VEL_BINARY_DIR) + "/app"));
}

TEST(Kestrix, ConvertsAndReportsProgressInCrRecords)
{
    TTempFolder dir;
    const std::string body(100000, 'v');
    dir.Write("abcdefgh.flv", body);
    const String in = dir.Name() + L"/abcdefgh.flv";
    const String out = in + L"_";

    for (Integer format : {1, 2, 3}) {
        SCOPED_TRACE(format);
        const TRunOutput r = RunKestrix(ConverterArguments(format, Converter(), in, out, 33));
        ASSERT_EQ(r.exitCode, 0) << r.stderrText;
        EXPECT_EQ(dir.Read("abcdefgh.flv_"), body);
        EXPECT_NE(r.stderrText.find("  Duration: 00:02:00.00, start:"), std::string::npos);
        EXPECT_NE(r.stderrText.find("time=00:01:12.00 bitrate= 512.0kbits/s    \r"), std::string::npos);
        EXPECT_GT(r.readSizes.size(), 1u) << "progress arrives in separate chunks";

        TConverterProgress p;
        std::vector<Integer> percents;
        size_t at = 0;
        for (size_t n : r.readSizes) {
            p.Feed(r.stderrText.data() + at, n);
            at += n;
            percents.push_back(p.Percent());
        }
        EXPECT_EQ(p.Percent(), 100);
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
        EXPECT_NE(std::find(percents.begin(), percents.end(), 40), percents.end());
        ::unlink(UTF8Encode(out).c_str());
    }
}

TEST(Kestrix, FailsWhenToldOrWithoutInput)
{
    TTempFolder dir;
    dir.Write("fails.flv", "header KESTRIX_FAIL trailer");
    dir.Write("KESTRIX_FAIL.flv", "plain");
    dir.Write("noduration.flv", "KESTRIX_NODURATION");

    for (const char* name : {"fails.flv", "KESTRIX_FAIL.flv", "missing.flv"}) {
        SCOPED_TRACE(name);
        const String in = dir.Name() + L"/" + UTF8ToString(name);
        const TRunOutput r = RunKestrix(ConverterArguments(1, Converter(), in, in + L"_", 0));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(dir.Exists(std::string(name) + "_"));
    }

    const String in = dir.Name() + L"/noduration.flv";
    const TRunOutput r = RunKestrix(ConverterArguments(3, Converter(), in, in + L"_", 0));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.stderrText.find("Duration:"), std::string::npos);
    TConverterProgress p;
    p.Feed(r.stderrText.data(), r.stderrText.size());
    EXPECT_EQ(p.Percent(), -1);
    EXPECT_EQ(dir.Read("noduration.flv_"), "KESTRIX_NODURATION");

    EXPECT_EQ(RunKestrix({Converter(), L"-i", in}).exitCode, 1);  // no output named
}

}  // namespace
