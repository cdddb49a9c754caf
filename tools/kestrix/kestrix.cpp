// A stand-in for the command-line media converter the downloader runs. It
// reads the command line the way the real converter does (-i input ... -y
// output; every codec option is accepted and ignored), reports a duration and
// a few progress records on its error stream, with the progress records ended
// by CR as a terminal-oriented converter writes them, and copies the input to
// the output.
//
// Tests steer it through the input alone (its name, or the first 64 KiB of
// its content), since the application starts it with an empty environment:
//   - a missing input file: message, exit 1, no output;
//   - "KESTRIX_FAIL" in the input's name or content: progress is reported,
//     then an error, exit 1, and no output file is left behind;
//   - "KESTRIX_SLOW" in the name or content: many slow steps, so a test can
//     stop a conversion while it runs;
//   - "KESTRIX_NODURATION" in the name or content: no "Duration:" line.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

void WriteErr(const std::string& s)
{
    const char* p = s.data();
    size_t left = s.size();
    while (left > 0) {
        ssize_t n = ::write(2, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
}

bool WriteAll(int fd, const char* p, size_t left)
{
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

void SleepMs(long ms)
{
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

// Copies up to count bytes from in to out; false on a read or write error.
bool CopyBytes(int in, int out, off_t count)
{
    char buf[65536];
    while (count > 0) {
        const size_t want = count < static_cast<off_t>(sizeof buf) ? static_cast<size_t>(count) : sizeof buf;
        const ssize_t n = ::read(in, buf, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0;
        if (out >= 0 && !WriteAll(out, buf, static_cast<size_t>(n)))
            return false;
        count -= n;
    }
    return true;
}

// Centiseconds as HH:MM:SS.cc, the converter's clock format.
std::string Clock(long cs)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld.%02ld", cs / 360000, (cs / 6000) % 60,
                  (cs / 100) % 60, cs % 100);
    return buf;
}

bool Has(const std::string& name, const std::string& content, const char* marker)
{
    return name.find(marker) != std::string::npos || content.find(marker) != std::string::npos;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string input, output;
    bool haveInput = false, haveOutput = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-i") == 0 && i + 1 < argc) {
            input = argv[++i];
            haveInput = true;
        } else if (std::strcmp(argv[i], "-y") == 0 && i + 1 < argc) {
            output = argv[++i];
            haveOutput = true;
        }
    }
    WriteErr("kestrix version 1.0, a media converter stand-in\n");
    if (!haveInput || !haveOutput) {
        WriteErr("usage: kestrix.exe -i input [options] -y output\n");
        return 1;
    }

    const int in = ::open(input.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (in < 0 || fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        WriteErr(input + ": " + (in < 0 ? std::strerror(errno) : "not a file") + "\n");
        return 1;
    }
    std::string head(65536, '\0');
    const ssize_t headLen = ::pread(in, head.data(), head.size(), 0);
    head.resize(headLen > 0 ? static_cast<size_t>(headLen) : 0);

    const bool fail = Has(input, head, "KESTRIX_FAIL");
    const bool slow = Has(input, head, "KESTRIX_SLOW");
    const bool noDuration = Has(input, head, "KESTRIX_NODURATION");

    const long durationCs = 120 * 100;  // two minutes
    const int steps = slow ? 100 : 5;
    const long delayMs = slow ? 100 : 20;

    WriteErr("Input #0, flv, from '" + input + "':\n");
    if (!noDuration)
        WriteErr("  Duration: " + Clock(durationCs) + ", start: 0.000000, bitrate: 512 kb/s\n");
    WriteErr("    Stream #0.0: Video: flv, yuv420p, 320x240, 25 tbr\n");
    WriteErr("Output #0, avi, to '" + output + "':\n");
    WriteErr("Press [q] to stop encoding\n");

    int out = -1;
    if (!fail) {
        out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out < 0) {
            WriteErr(output + ": " + std::strerror(errno) + "\n");
            return 1;
        }
    }

    off_t written = 0;
    for (int i = 1; i <= steps; ++i) {
        SleepMs(delayMs);
        const off_t upto = st.st_size * i / steps;
        if (!CopyBytes(in, out, upto - written)) {
            WriteErr(output + ": " + std::strerror(errno) + "\n");
            if (out >= 0) {
                ::close(out);
                ::unlink(output.c_str());
            }
            return 1;
        }
        written = upto;
        char rec[160];
        std::snprintf(rec, sizeof rec, "frame=%5d fps= 25 q=2.0 size=%8zukB time=%s bitrate= 512.0kbits/s    \r",
                      i * 25, static_cast<size_t>(written / 1024), Clock(durationCs * i / steps).c_str());
        WriteErr(rec);
        if (fail && i * 2 >= steps) {
            WriteErr("\nError while decoding stream #0.0\n");
            return 1;
        }
    }
    if (out >= 0 && ::close(out) != 0) {
        WriteErr(output + ": " + std::strerror(errno) + "\n");
        ::unlink(output.c_str());
        return 1;
    }
    WriteErr("\nvideo:0kB audio:0kB global headers:0kB muxing overhead 0.000000%\n");
    return 0;
}
