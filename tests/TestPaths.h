// Where a test finds the source tree and the build tree. They are looked up
// at run time, next to the test executable, instead of being compiled in, so
// the compiled tests carry no absolute paths and a build of another checkout
// of the same sources reuses the compiler cache.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace vel_test_paths {

// The build tree: the test executable lives in <build>/tests/.
inline const std::string& BinaryDir()
{
    static const std::string dir = [] {
        char buf[4096];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n <= 0) {
            std::fputs("cannot find the test executable's folder\n", stderr);
            std::abort();
        }
        std::string exe(buf, size_t(n));
        std::string testsDir = exe.substr(0, exe.rfind('/'));
        return testsDir.substr(0, testsDir.rfind('/'));
    }();
    return dir;
}

// The source tree, as the build tree's cache records it.
inline const std::string& SourceDir()
{
    static const std::string dir = [] {
        std::ifstream cache(BinaryDir() + "/CMakeCache.txt");
        const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
        for (std::string line; std::getline(cache, line);)
            if (line.compare(0, key.size(), key) == 0) return line.substr(key.size());
        std::fputs("cannot find the source folder in CMakeCache.txt\n", stderr);
        std::abort();
    }();
    return dir;
}

inline const std::string& TestDataDir()
{
    static const std::string dir = SourceDir() + "/tests/data";
    return dir;
}

}  // namespace vel_test_paths
