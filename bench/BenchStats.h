// What the benchmarks share: the median they report, the timing of our
// routine beside its peer in alternating rounds, the process's resident
// memory and numbers from the environment.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// The middle value (the mean of the two middle ones for an even count); 0 for none.
inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// Times ours and the peer in alternating rounds (the order flips every
// round), each call doing `ops` operations, after one warm-up call of each
// for caches and the allocator. Answers the medians in ns per operation.
inline std::pair<double, double> TimeSideBySide(size_t ops, const std::function<void()>& ours,
                                                const std::function<void()>& peer, int rounds = 21)
{
    std::vector<double> a, b;
    auto time = [&](const std::function<void()>& f) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count() / double(ops);
    };
    ours();
    peer();
    for (int r = 0; r < rounds; ++r) {
        if (r % 2) {
            b.push_back(time(peer));
            a.push_back(time(ours));
        } else {
            a.push_back(time(ours));
            b.push_back(time(peer));
        }
    }
    return {Median(a), Median(b)};
}

// A number from the environment, or the fallback when it is unset or empty.
inline long long EnvNumber(const char* name, long long fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::atoll(v) : fallback;
}

// This process's resident set size in KiB.
inline long RssKiB()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}
