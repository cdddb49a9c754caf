// A small HTTP server for the download benchmarks, built so that it is not
// the bottleneck: one body file made once (a repeating byte pattern) and
// sent from the page cache with sendfile(2), a thread per connection,
// keep-alive, GET and HEAD on any path, 127.0.0.1 only.
//
//   mediaserver --size BYTES [--dir FOLDER]
//
// Prints "http PORT" and then "ready" on its standard output, and stops at
// the end of its standard input (or on SIGTERM). The body file lives in
// FOLDER (default: a new folder under /tmp) and is removed at the end.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string gBodyPath;
long long gSize = 0;

bool MakeBody(const std::string& path, long long size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = char(i & 0xFF);
    long long left = size;
    while (left > 0) {
        const size_t n = size_t(std::min<long long>(left, (long long)block.size()));
        const ssize_t w = ::write(fd, block.data(), n);
        if (w <= 0) {
            ::close(fd);
            return false;
        }
        left -= w;
    }
    ::close(fd);
    return true;
}

bool SendAll(int sock, const char* p, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::send(sock, p, n, MSG_NOSIGNAL);
        if (w <= 0)
            return false;
        p += w;
        n -= size_t(w);
    }
    return true;
}

void Serve(int sock)
{
    const int body = ::open(gBodyPath.c_str(), O_RDONLY | O_CLOEXEC);
    std::string pending;
    char buf[8192];
    while (body >= 0) {
        size_t end;
        while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t r = ::recv(sock, buf, sizeof buf, 0);
            if (r <= 0 || pending.size() > 65536)
                goto done;
            pending.append(buf, size_t(r));
        }
        {
            const std::string request = pending.substr(0, end);
            pending.erase(0, end + 4);
            const bool head = request.compare(0, 5, "HEAD ") == 0;
            const bool get = request.compare(0, 4, "GET ") == 0;
            std::string lower = request;
            for (char& c : lower)
                c = char(tolower((unsigned char)c));
            const bool close = lower.find("connection: close") != std::string::npos;
            if (!get && !head) {
                const char* bad = "HTTP/1.1 405 Method Not Allowed\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                SendAll(sock, bad, strlen(bad));
                break;
            }
            const std::string header = "HTTP/1.1 200 OK\r\nContent-Type: video/x-flv\r\nContent-Length: " +
                                       std::to_string(gSize) + "\r\n" +
                                       (close ? "Connection: close\r\n" : "") + "\r\n";
            if (!SendAll(sock, header.data(), header.size()))
                break;
            if (get) {
                off_t off = 0;
                while (off < gSize) {
                    const ssize_t s = ::sendfile(sock, body, &off, size_t(std::min<long long>(gSize - off, 1 << 30)));
                    if (s <= 0)
                        goto done;
                }
            }
            if (close)
                break;
        }
    }
done:
    if (body >= 0)
        ::close(body);
    ::close(sock);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--size"))
            gSize = atoll(argv[i + 1]);
        else if (!strcmp(argv[i], "--dir"))
            dir = argv[i + 1];
    }
    if (gSize <= 0) {
        fprintf(stderr, "usage: mediaserver --size BYTES [--dir FOLDER]\n");
        return 2;
    }
    bool ownDir = false;
    if (dir.empty()) {
        char tmpl[] = "/tmp/mediaserver-XXXXXX";
        if (!mkdtemp(tmpl))
            return 1;
        dir = tmpl;
        ownDir = true;
    }
    gBodyPath = dir + "/body.bin";
    if (!MakeBody(gBodyPath, gSize)) {
        fprintf(stderr, "cannot write %s\n", gBodyPath.c_str());
        return 1;
    }
    signal(SIGPIPE, SIG_IGN);

    const int ls = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(ls, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (::bind(ls, (sockaddr*)&a, sizeof a) != 0 || ::listen(ls, 64) != 0 ||
        ::getsockname(ls, (sockaddr*)&a, &len) != 0) {
        perror("listen");
        return 1;
    }
    printf("http %d\nready\n", ntohs(a.sin_port));
    fflush(stdout);

    std::thread([ls] {
        for (;;) {
            const int s = ::accept4(ls, nullptr, nullptr, SOCK_CLOEXEC);
            if (s < 0)
                return;
            std::thread(Serve, s).detach();
        }
    }).detach();

    // Until the end of standard input (the benchmark went) or SIGTERM.
    static std::atomic<bool> stop{false};
    signal(SIGTERM, [](int) { stop = true; });
    char c;
    while (!stop && ::read(0, &c, 1) > 0) {
    }
    ::unlink(gBodyPath.c_str());
    if (ownDir)
        ::rmdir(dir.c_str());
    _exit(0);
}
